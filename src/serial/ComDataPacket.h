#pragma once
// Packet splitter: cuts the bytes a port receives into packets by a start
// string, a stop string, a fixed size or handlers of the application's own.
// Packet text is std::string holding the received bytes one to one; short
// packets such as measurement lines fit the small-string buffer, so a packet
// costs no heap allocation.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Component.h"
#include "serial/ComLink.h"

class TCustomComPort;

using TComStrEvent = std::function<void(TObject* Sender, const std::string& Str)>;
// Str is the buffered text; Pos comes in as -1 and may be set to a 1-based
// position (start or end of the packet), 0 or below -1 to wait for more.
using TCustPacketEvent = std::function<void(TObject* Sender, const std::string& Str, int& Pos)>;

class TComDataPacket : public TComponent {
 public:
  TComDataPacket();
  ~TComDataPacket() override;

  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value);

  bool CaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value);
  bool IncludeStrings() const { return FIncludeStrings; }
  void SetIncludeStrings(bool Value) { FIncludeStrings = Value; }
  // 0 or less: no limit.
  int MaxBufferSize() const { return FMaxBufferSize; }
  void SetMaxBufferSize(int Value) { FMaxBufferSize = Value; }
  const std::string& StartString() const { return FStartString; }
  void SetStartString(const std::string& Value);
  const std::string& StopString() const { return FStopString; }
  void SetStopString(const std::string& Value);
  // 0 or less: no fixed size.
  int Size() const { return FSize; }
  void SetSize(int Value);

  TComStrEvent OnDiscard;
  TComStrEvent OnPacket;
  TCustPacketEvent OnCustomStart;
  TCustPacketEvent OnCustomStop;

  // Passes what is buffered to OnDiscard and starts searching afresh.
  void ResetBuffer();
  // Feeds received characters in; also usable without a port.
  void AddData(std::string_view Str);
  // Target of the link's OnRxBuf.
  void PacketRxBuf(TObject* Sender, const char* Buffer, int Count);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual void ScanBuffer();
  virtual void DoDiscard(const std::string& Str);
  virtual void DoPacket(const std::string& Str);
  // Str points into the live buffer: it stays valid only until the splitter
  // is changed (data added, buffer reset, settings written).
  virtual void DoCustomStart(std::string_view Str, int& Pos);
  virtual void DoCustomStop(std::string_view Str, int& Pos);

  // Characters received and not yet delivered or discarded.
  std::string_view BufferedText() const {
    return std::string_view(FBuffer).substr(FHead);
  }

 private:
  bool HasEndRule() const;
  void FindStart();
  void FindStop();
  void CheckBufferLimit();
  // First position (0-based, at or after `from`) of `needle` in `hay` in the
  // compare form; npos when absent. An empty needle is never found.
  std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from = 0) const;
  std::string_view StartCmp() const { return FCaseInsensitive ? FStartUpper : FStartString; }
  std::string_view StopCmp() const { return FCaseInsensitive ? FStopUpper : FStopString; }
  void Consume(std::size_t n);
  void ClearBuffer();
  void SettingsChanged();

  std::unique_ptr<TComLink> FComLink;
  TCustomComPort* FComPort = nullptr;
  std::string FStartString;
  std::string FStopString;
  int FMaxBufferSize = 1024;
  int FSize = 0;
  bool FIncludeStrings = false;
  bool FCaseInsensitive = false;
  bool FInPacket = false;
  // The buffered text is FBuffer from FHead on; the consumed front is
  // dropped lazily so that cutting a packet does not move the rest.
  std::string FBuffer;
  std::size_t FHead = 0;
  // Positions (relative to FHead) already known to hold no start or stop
  // string, so that a growing buffer is searched only in its new part.
  std::size_t FStartSkip = 0;
  std::size_t FStopSkip = 0;
  std::string FStartUpper;
  std::string FStopUpper;
};
