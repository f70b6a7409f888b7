// What the user reads for an error: the port's text as it is, the system's
// description of the number, and what to do for the common failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "platform/SystemError.h"
#include "serial/ComPort.h"
#include "serial/UserErrorText.h"
#include "support/QtPrinters.h"

TEST(UserErrorText, PortErrorsGetTheSystemTextAndTheAdvice) {
  struct Row {
    int code, winCode;
    QString expected;
  };
  const Row rows[] = {
      {1, ENOENT,
       "Unable to open com port (Error: 2): %1; no such device: check the port name"},
      {1, EACCES,
       "Unable to open com port (Error: 13): %1; no permission: add the user to the group that "
       "owns the device (usually dialout)"},
      {1, EBUSY, "Unable to open com port (Error: 16): %1; the device is in use by another program"},
      {7, ENOTTY, "SetCommState function failed (Error: 25): %1; not a serial device: choose a "
                  "serial port"},
      {2, EIO, "WriteFile function failed (Error: 5): %1; check the cable or adapter, then Open Port"},
      {2, EAGAIN, "WriteFile function failed (Error: 11): %1"},  // no common advice
  };
  for (const Row& r : rows) {
    const QString system = platform::SystemErrorText(r.winCode);
    ASSERT_FALSE(system.isEmpty());
    EXPECT_EQ(UserErrorText(EComPort(r.code, r.winCode)), r.expected.arg(system));
  }
}

TEST(UserErrorText, ErrorsWithoutASystemNumberStayAsTheyAre) {
  EXPECT_EQ(UserErrorText(EComPort::CreateNoWinCode(24)), "Port Not Open");
  EXPECT_EQ(UserErrorText(std::runtime_error("Failed to set data for 'Type'")),
            "Failed to set data for 'Type'");
}

TEST(UserErrorText, AnOpenWithoutAPortNameSaysThatNoPortWasFound) {
  TComPort port;
  port.SetPort(QString());
  try {
    port.Open();
    ADD_FAILURE() << "an empty name opened something";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 1);
    EXPECT_EQ(e.WinCode(), ENOENT);
    EXPECT_TRUE(UserErrorText(e, &port).endsWith("; no serial port found: type the device path"))
        << UserErrorText(e, &port).toStdString();
  }
  EXPECT_FALSE(port.Connected());
  // A named port that is missing keeps the advice for a missing device.
  port.SetPort(QStringLiteral("/dev/telquin-no-such-port"));
  try {
    port.Open();
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_TRUE(UserErrorText(e, &port).endsWith("; no such device: check the port name"));
  }
}
