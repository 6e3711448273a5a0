// lyrconvert INPUT OUTPUT.lyr [--title-column N] [--presenter ID] [--allow-damaged], or lyrconvert --info FILE
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/LayerHeap.h"
#include "tools/lyrconvert/LyrConvert.h"

int main(int argc, char** argv) {
  toolcli::PrepareLayerHeap();
  return lyrconvert::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
