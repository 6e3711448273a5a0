#pragma once
// The heap of a tool that reads whole map layers: a layer of millions of points is built and
// dropped object by object, megabytes at a time. Taking such memory from the system in 4 KB pages
// (each one faulted in and cleared on first use) and handing it back after each object costs
// about as much as reading the file; this keeps freed memory for the next object and asks for
// large pages where the system offers them on request (Linux transparent huge pages).

namespace toolcli {

// Call first thing in main, before the layer is read. Does nothing where the C library has no
// such settings.
void PrepareLayerHeap();

}  // namespace toolcli
