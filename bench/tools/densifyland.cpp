// densifyland SOURCE OUTDIR/NAME [--points N]: builds a large benchmark layer from a map file
// (normally ne_10m_land.shp): every edge of every ring is cut along its great circle so that the
// layer holds about N points (default 10,000,000) in the same objects, no ring growing past what
// the view draws in one piece. Writes NAME.shp, .shx, .dbf and NAME.lyr (objects given
// presenter 1, as the world map's layers are).

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "bench/support/GreatCircleDensify.h"
#include "bench/support/ShapeFileWriter.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeFileReader.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/DevicePoints.h"
#include "tools/lyrconvert/LyrConvert.h"

namespace {

struct TSourceObject {
  int32_t ID = 0;
  std::vector<bench::TRing> Rings;
};

std::vector<TSourceObject> ReadObjects(const std::string& file) {
  auto globe = lyrconvert::NewHeadlessGlobe();
  globe::TGlobeFileReader& reader = lyrconvert::OpenMapFile(*globe, file);
  std::vector<TSourceObject> objects;
  for (int32_t i = 0; i < reader.Count(); ++i) {
    auto* object = dynamic_cast<globe::TGeoDataObject*>(reader.Objects(i));
    if (!object || object->Chains().Count() == 0) continue;
    TSourceObject copy;
    copy.ID = i + 1;
    for (int32_t c = 0; c < object->Chains().Count(); ++c) {
      const globe::TPointStore& chain = object->Chains().Chain(c);
      bench::TRing ring(static_cast<size_t>(chain.Count()));
      for (int32_t p = 0; p < chain.Count(); ++p) ring[static_cast<size_t>(p)] = chain.Point(p);
      copy.Rings.push_back(std::move(ring));
    }
    objects.push_back(std::move(copy));
  }
  return objects;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int64_t target = 10'000'000;
  if (args.size() == 4 && args[2] == "--points") {
    target = std::stoll(args[3]);
    args.resize(2);
  }
  if (args.size() != 2 || target <= 0) {
    std::fprintf(stderr, "usage: densifyland SOURCE OUTDIR/NAME [--points N]\n");
    return 2;
  }
  try {
    const std::vector<TSourceObject> objects = ReadObjects(args[0]);
    std::vector<std::vector<int32_t>> lengths;
    for (const auto& object : objects)
      for (const auto& ring : object.Rings) lengths.push_back(bench::EdgeLengths(ring));
    std::vector<long double> steps;
    // One slot of the view's point buffer stays free for closing a ring.
    bench::ChooseSteps(lengths, target, globe::DevicePointCapacity - 1, steps);

    int64_t points = 0;
    size_t ringIndex = 0;
    {
      bench::TShapeFileWriter writer(args[1]);
      for (const auto& object : objects) {
        globe::TShapeRecord record;
        record.ShapeType = globe::stPolygon;
        for (const auto& ring : object.Rings) {
          const bench::TRing dense = bench::Densify(ring, steps[ringIndex++]);
          auto& part = record.Parts.emplace_back();
          part.reserve(dense.size());
          for (const auto& p : dense)
            part.push_back({static_cast<double>(p.LongX) / globe::GlobeUnitsPerDegree,
                            static_cast<double>(p.LatY) / globe::GlobeUnitsPerDegree});
          points += static_cast<int64_t>(dense.size());
        }
        writer.AddPolygon(record, object.ID);
      }
      writer.Close();
    }
    std::printf("%zu objects, %zu rings, %lld points\n", objects.size(), ringIndex, static_cast<long long>(points));
    return lyrconvert::Run({args[1] + ".shp", args[1] + ".lyr", "--presenter", "1"}, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "densifyland: %s\n", e.what());
    return 1;
  }
}
