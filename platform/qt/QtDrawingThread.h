#pragma once
// Drawing on a thread of Qt's global thread pool while the calling thread waits. Qt's raster
// engine splits every large fill over that pool, unless the painter runs on one of the pool's
// own threads; on a machine of two cores the hand-offs cost more than the split saves (about a
// quarter of a globe frame's processor time, and the frame takes longer too). Only one of the two
// threads works at any time, so the drawing code needs no locks; what must happen on the
// caller's thread (window events, widget calls) goes back there through `OnCallerThread`.
#include <functional>

namespace platform {

// Runs `job` on a free thread of Qt's global pool and returns when it is done, passing on an
// exception it throws. Runs it at once, on this thread, when this thread is a pool thread or a
// drawing job already, or when no pool thread is free.
void RunOnDrawingThread(const std::function<void()>& job);

// Called from a drawing job: runs `call` on the thread that waits for the job, and returns when
// it is done (passing on an exception). Called from anywhere else: runs `call` at once.
void OnCallerThread(const std::function<void()>& call);

}  // namespace platform
