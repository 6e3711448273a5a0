// lyrconvert INPUT OUTPUT.lyr [--title-column N] [--presenter ID] [--allow-damaged], or lyrconvert --info FILE
#include <malloc.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/lyrconvert/LyrConvert.h"

int main(int argc, char** argv) {
  // Reading a large layer builds and drops one object after another: freed chains are kept for
  // the next object rather than handed back to the system and faulted in afresh.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  return lyrconvert::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
