// One entry per format code. Readers of further formats add their line here.
#include "formats/ReaderTable.h"

#include "formats/KxfReader.h"
#include "formats/QlmVmsReader.h"
#include "formats/Seg2Reader.h"
#include "formats/SegdReader.h"
#include "formats/SegyReader.h"
#include "section/SeismicSection.h"

ReaderFn ReaderForFileType(int code) {
  switch (code) {
    case kFileUnknown:  // unrecognised files are read as SEG-Y, whose errors say why
    case kFileSegy:
      return ReadSegyFile;
    case kFileSu:
      return ReadSuFile;
    case kFileSeg2:
      return ReadSeg2File;
    case kFileSegd:
      return ReadSegd;
    case kFileKxf:
      return ReadKxf;
    case kFileQlmVms:
      return ReadQlmVms;
    default:
      return nullptr;
  }
}
