#include "formats/LoadFileList.h"

#include "formats/DetectFileType.h"
#include "formats/ReaderTable.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

int LoadFileList(SeismicSection& section, const std::vector<std::string>& paths, LoadParams& params) {
  params.flags = kLoadKeepHeaders;
  int32_t fileNumber = 0;
  for (const std::string& path : paths) {
    ++fileNumber;
    params.fileCount = fileNumber;
    int code = DetectFileType(path, params);
    ReaderFn reader = ReaderForFileType(code);
    if (!reader) {
      LogPrint(LogError, "\nERROR: no reader for file type %d, '%s'", code, path.c_str());
      return kStatusNoReader;
    }
    if (reader(section, path, params) > 0) params.flags = 0;
  }
  return 0;
}
