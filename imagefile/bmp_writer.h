// Writes the source as an uncompressed Windows bitmap of the source's depth.
#pragma once
#include "imagefile/image_writer.h"

namespace imagefile {

class BmpWriter : public ImageWriter {
 protected:
  int begin() override;
  int writeSomeRows(int count) override;
  int finish() override { return 0; }
};

}  // namespace imagefile
