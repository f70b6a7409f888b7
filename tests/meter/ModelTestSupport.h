#pragma once
// Helpers shared by the meter model, file and clipboard tests.

#include <QRegularExpression>
#include <memory>
#include <string>
#include <vector>

#include "meter/Dorvane.h"
#include "meter/Hexlin.h"
#include "meter/Pavon.h"
#include "meter/Tavri.h"
#include "meter/Zarel.h"

inline const std::vector<TDeviceType> kAllModels{Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL};

// A model object on `page` with its factory defaults set.
inline std::unique_ptr<TMeterModel> StandardModel(TDeviceType d, TParamControls* page,
                                                  bool hexlor = false) {
  switch (d) {
    case Pavon: { auto m = std::make_unique<TPavon>(page); m->SetStandard(); return m; }
    case Dorvane: { auto m = std::make_unique<TDorvane>(page); m->SetStandard(); return m; }
    case Hexlin: { auto m = std::make_unique<THexlin>(page); m->SetStandard(hexlor); return m; }
    case Tavri: { auto m = std::make_unique<TTavri>(page); m->SetStandard(); return m; }
    case KESTO_ZAREL: { auto m = std::make_unique<TZAREL>(page); m->SetStandard(); return m; }
  }
  return nullptr;
}

// "control=text" for every control of the model's page.
inline QStringList PageTexts(TDeviceType d, const TParamControls& page) {
  QStringList texts;
  for (const QString& c : ModelTable(d).Controls()) texts << c + "=" + page.Text(c);
  return texts;
}

// Test name for a model: its text in capitals only.
inline std::string ModelName(TDeviceType d) {
  return DeviceText(d).remove(QRegularExpression("[^A-Z]")).toStdString();
}
