// One entry per format code. Readers of further formats add their line here.
#include "formats/ReaderTable.h"

#include "formats/Seg2Reader.h"
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
    case kFileKxf:
    case kFileQlmVms:
    default:
      return nullptr;
  }
}
