// Parameter file reader and clipboard import on arbitrary input: the first
// byte picks the model, the rest is the file or clipboard text.
#include <cstddef>
#include <cstdint>

#include "meter/MemoryParamControls.h"
#include "meter/ParamFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto device = static_cast<TDeviceType>(data[0] % DeviceTypeCount);
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  TMemoryParamControls page;
  ReadParamFileData(bytes, page, device);
  // Whatever was read is written and read back again.
  const QByteArray saved = ParamFileData(page, device);
  TMemoryParamControls again;
  ReadParamFileData(saved, again, device);

  ImportParamText(QString::fromUtf8(bytes), page, device);
  ImportParamText(ExportParamText(page, device), again, device);
  return 0;
}
