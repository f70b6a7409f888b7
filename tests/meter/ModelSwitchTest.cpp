// The model switch as the logic applies it to a window.
#include <gtest/gtest.h>

#include "MeterRig.h"

TEST(ModelSwitch, PavonToHexlinAndToDorvane) {
  FakeMeterView view;
  TMeterLogic logic(view);
  logic.ComPort().SetBaudRate(br19200);
  logic.SetDevice(Pavon);  // the current model: nothing happens
  EXPECT_EQ(logic.ComPort().BaudRate(), br19200);
  EXPECT_EQ(view.caption, QString());

  logic.Model<THexlin>().SetP_SA(QStringLiteral("200"));
  logic.SetDevice(Hexlin);
  EXPECT_EQ(logic.ComPort().BaudRate(), br115200);
  EXPECT_EQ(view.caption, QStringLiteral("Telquin (HEXLIN/HEXLOR)"));
  EXPECT_TRUE(view.outputVisible[2]);
  EXPECT_FALSE(view.outputVisible[3]);
  using enum TAction;
  for (TAction hidden : {acDS, acDW, acDX, acLF, acSetProfibus})
    EXPECT_FALSE(view.action(hidden).visible) << ActionName(hidden).data();
  for (TAction shown : {acSd, acVM, acVT, acDM, acSO, acBaudrate})
    EXPECT_TRUE(view.action(shown).visible) << ActionName(shown).data();
  EXPECT_EQ(view.controls.Text("cb_sa_2"), QString());  // the page is emptied
  EXPECT_EQ(logic.Model<THexlin>().P_SA(), QString());
  EXPECT_EQ(view.parameterPage, 2);
  EXPECT_EQ(logic.ComMessPacket().ComPort(), &logic.ComPort());
  EXPECT_EQ(logic.ComMessPacket().StopString(), "\r\n");

  logic.SetDevice(Dorvane);
  EXPECT_EQ(logic.ComPort().BaudRate(), br9600);
  EXPECT_EQ(view.gauge.Min, 4000);
  EXPECT_EQ(view.gauge.Max, 20000);
  EXPECT_EQ(view.gauge.TickCount, 17);
  EXPECT_EQ(logic.ComMessPacket().Size(), 8);
  EXPECT_EQ(logic.ComMessPacket().StartString(), " ");
  EXPECT_EQ(logic.ComMessPacket().StopString(), "");
  EXPECT_FALSE(view.outputVisible[2]);

  const int grafik = view.diagramButtons;
  logic.SetDevice(KESTO_ZAREL);  // leaves the diagram buttons, shows three outputs
  EXPECT_EQ(view.diagramButtons, grafik);
  EXPECT_TRUE(view.outputVisible[3]);
}

TEST(ModelSwitch, CaptionCarriesSimulationAndDebug) {
  FakeMeterView view;
  TMeterLogic logic(view);
  SetDebugSwitch(true);
  logic.Simulator().InitSimuVersion(true);
  logic.SetDevice(Tavri);
  EXPECT_EQ(view.caption, QStringLiteral("Telquin (TAVRI) Simulation Debug"));
  SetDebugSwitch(false);
}

TEST(ModelSwitch, EveryModelHasItsOwnObject) {
  // A model routed to another model's object would read and store the wrong
  // parameter set without any error.
  TModelSet models(nullptr);
  for (int d = 0; d < DeviceTypeCount; ++d) {
    EXPECT_EQ(models.Model(static_cast<TDeviceType>(d)).Device(), d);
    models.SetDevice(static_cast<TDeviceType>(d));
    EXPECT_EQ(&models.Current(), &models.Model(static_cast<TDeviceType>(d)));
  }
  EXPECT_EQ(&models.Get<TZAREL>(), &models.Model(KESTO_ZAREL));
}
