// Peer of mapread for shapefiles: reads every feature of a shapefile with GDAL/OGR and touches
// every coordinate of its geometry. Built by bench/run.sh only.
#include <cstdio>

#include <ogrsf_frmts.h>

namespace {

void Touch(const OGRGeometry* geometry, long long& points, double& sum) {
  if (!geometry) return;
  switch (wkbFlatten(geometry->getGeometryType())) {
    case wkbPolygon: {
      const auto* polygon = geometry->toPolygon();
      for (const OGRLinearRing* ring : *polygon) Touch(ring, points, sum);
      break;
    }
    case wkbLineString:
    case wkbLinearRing: {
      const auto* line = geometry->toSimpleCurve();
      for (int i = 0; i < line->getNumPoints(); ++i) sum += line->getX(i) - line->getY(i);
      points += line->getNumPoints();
      break;
    }
    case wkbPoint:
      sum += geometry->toPoint()->getX() - geometry->toPoint()->getY();
      ++points;
      break;
    default:
      if (OGR_GT_IsSubClassOf(geometry->getGeometryType(), wkbGeometryCollection))
        for (const OGRGeometry* part : *geometry->toGeometryCollection()) Touch(part, points, sum);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shp_read_ogr FILE.shp\n");
    return 2;
  }
  GDALAllRegister();
  GDALDataset* dataset = static_cast<GDALDataset*>(GDALOpenEx(argv[1], GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
  if (!dataset) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  long long features = 0, points = 0;
  double sum = 0;
  OGRLayer* layer = dataset->GetLayer(0);
  layer->ResetReading();
  while (OGRFeature* feature = layer->GetNextFeature()) {
    ++features;
    Touch(feature->GetGeometryRef(), points, sum);
    OGRFeature::DestroyFeature(feature);
  }
  GDALClose(dataset);
  std::printf("objects %lld points %lld checksum %.3f\n", features, points, sum);
  return 0;
}
