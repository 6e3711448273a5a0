/* Peer of mapread for shapefiles: reads every object of a shapefile with shapelib and touches
   every coordinate. Built by bench/run.sh only. */
#include <shapefil.h>
#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: shp_read_shapelib FILE.shp\n");
    return 2;
  }
  SHPHandle shp = SHPOpen(argv[1], "rb");
  if (!shp) {
    fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  int count = 0, type = 0;
  SHPGetInfo(shp, &count, &type, NULL, NULL);
  long long points = 0, built = 0;
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    SHPObject* object = SHPReadObject(shp, i);
    if (!object) continue;
    ++built;
    for (int p = 0; p < object->nVertices; ++p) sum += object->padfX[p] - object->padfY[p];
    points += object->nVertices;
    SHPDestroyObject(object);
  }
  SHPClose(shp);
  printf("objects %d built %lld points %lld checksum %.3f\n", count, built, points, sum);
  return 0;
}
