#pragma once
// The arithmetic of the simulated meter: the PAVON line period, the time base,
// offset, scale and format of one tick, and the repeating ramp-and-error
// pattern. The caller owns the timer, the model objects and the setup dialog.

#include "meter/DeviceType.h"
#include "meter/SimuPacket.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

enum TPavonMode : std::uint8_t { mNoMode, mDT, mDS, mDW, mDX };

// Milliseconds between two PAVON lines in the mode, from the measure time ST.
std::uint32_t TI4xFor(TPavonMode mode, const QString& st);

// Texts of the current model's object read at every tick. SD is PAVON's SD or
// part 0 of the HEXLIN/TAVRI SD; KESTO ZAREL takes its format elsewhere.
struct TSimuTickParams {
  QString SA, MF, OF, SF, SD;
};

struct TSimuTickSettings {
  double TimeUnit = 1;  // seconds per line
  double OF = 0;
  double SF = 1;
  bool Hex = false;
};

TSimuTickSettings SimuTickSettings(TDeviceType device, const TSimuTickParams& p, std::uint32_t ti4x);

// The tick counter runs 0..99 for the whole run of the program.
int NextTickCount(int c);

struct TSimuLineArgs {
  std::int32_t Value = 0;
  bool Noise = false;
  bool Error = false;
};

// Arguments of the line for tick count c: a fixed distance with noise, or the
// ramp (up 40 per tick for c 0..49, down for 50..89), six error lines (90..95)
// and four plain lines at the base (96..99).
TSimuLineArgs SimuLineArgs(int c, bool autoDist, double simuDist, double of);

// Lines other than KESTO ZAREL's may carry the locale's ',' in their numbers;
// the meter writes '.'. KESTO ZAREL's ',' may be its field separator.
QByteArray SimuLineForDecoder(QByteArray line, TDeviceType device);

// The simulated meter's state for the whole run: PAVON mode, its line period
// and the tick counter; none of it is reset by switching simulation off.
class TSimuPattern {
 public:
  struct TTick {
    QByteArray Line;  // to hand to the measurement handler
    double TimeUnit = 1;
  };

  TPavonMode PavonDMode() const { return FPavonDMode; }
  // Acts only on a change: stores the mode and updates TI4x.
  void SetPavonDMode(TPavonMode m, const QString& st);
  void UpdateTI4x(const QString& st) { FTI4x = TI4xFor(FPavonDMode, st); }
  std::uint32_t TI4x() const { return FTI4x; }
  int TickCount() const { return FTickCount; }

  // One tick: the tick's settings, the next count, the line.
  TTick Tick(const TSimuTickParams& params, const TSimuLineParams& line, double simuDist,
             bool autoDist, const TRandom10& random);

 private:
  TPavonMode FPavonDMode = mNoMode;
  std::uint32_t FTI4x = 0;
  int FTickCount = 0;
};
