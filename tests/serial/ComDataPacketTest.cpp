#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "serial/ComDataPacket.h"
#include "serial/ComPort.h"
#include "support/EventLoop.h"
#include "support/PtyPair.h"

namespace {

using Events = std::vector<std::string>;

// Records packets as "P:text" and discards as "D:text", in order.
struct Splitter : TComDataPacket {
  Events ev;
  Splitter() {
    OnPacket = [this](TObject* s, const std::string& p) {
      EXPECT_EQ(s, this);
      ev.push_back("P:" + p);
    };
    OnDiscard = [this](TObject*, const std::string& d) { ev.push_back("D:" + d); };
  }
  // Feeds the chunks, then empties the buffer so that what stayed buffered
  // shows up as a last discard.
  Events Run(const std::vector<std::string>& chunks) {
    for (const auto& c : chunks) AddData(c);
    ResetBuffer();
    return std::exchange(ev, {});
  }
  using TComDataPacket::BufferedText;
};

struct Case {
  const char* name;
  std::string start, stop;
  int size;
  bool include, caseless;
  int maxBuffer;
  std::vector<std::string> chunks;
  Events expected;
};

const Case kCases[] = {
    {"LineSplitAcrossChunks", "", "\r\n", 0, false, false, 1024,
     {"12.345\r\n12.3", "46\r\n"}, {"P:12.345", "P:12.346"}},
    {"TwoLinesInOneChunk", "", "\r\n", 0, false, false, 1024, {"1.5\r\n2.5\r\n"}, {"P:1.5", "P:2.5"}},
    {"PartialLineStaysBuffered", "", "\r\n", 0, false, false, 1024, {"1.5\r\n2."}, {"P:1.5", "D:2."}},
    {"StartAndStop", "A", "B", 0, false, false, 1024, {"xxA12B"}, {"D:xx", "P:12"}},
    {"StartAndStopIncluded", "A", "B", 0, true, false, 1024, {"xxA12B"}, {"D:xx", "P:A12B"}},
    {"StopSearchedBehindStart", "AB", "B", 0, false, false, 1024, {"AB1B"}, {"P:1"}},
    {"StartOnlyBeginsAgainAfterCut", "A", "B", 0, false, false, 1024, {"A1BxxB", "A2B"},
     {"P:1", "D:xxB", "P:2"}},
    {"SizeOne", "", "", 1, false, false, 1024, {"abc"}, {"P:a", "P:b", "P:c"}},
    {"SizeEightBlankStart", " ", "", 8, false, false, 1024, {"x 1234567 2"},
     {"D:x", "P:1234567", "D: 2"}},
    {"SizeEightBytewise", " ", "", 8, false, false, 1024,
     {"x", " ", "1", "2", "3", "4", "5", "6", "7", " "}, {"D:x", "P:1234567", "D: "}},
    {"SizeWinsOverStop", "", ";", 4, false, false, 1024, {"a", ";bcdef"}, {"P:a;bc", "D:def"}},
    {"StopEndsBeforeSize", "", ";", 4, false, false, 1024, {"a;", "bcdef"}, {"P:a", "P:bcde", "D:f"}},
    {"EarlierStopIsNotStripped", "", "\r\n", 6, false, false, 1024, {"1\r\n2\r\n"}, {"P:1\r\n2\r\n"}},
    {"ShortPacketIsNotBlanked", "", "\r\n", 1, false, false, 1024, {"ab"}, {"P:a", "P:b"}},
    {"NoStopRuleDeliversChunks", "A", "", 0, false, false, 4, {"xxA12345", "B"}, {"P:xxA12345", "P:B"}},
    {"CaselessStop", "", "ok", 0, false, true, 1024, {"abcOK"}, {"P:abc"}},
    {"CaseSensitiveStop", "", "ok", 0, false, false, 1024, {"abcOK"}, {"D:abcOK"}},
    {"CaselessStartAndStop", "go", "ok", 0, false, true, 1024, {"xGOabcOk"}, {"D:x", "P:abc"}},
    {"CaselessFoldsOnlyAscii", "", "\xe9", 0, false, true, 1024, {"a\xc9", "b\xe9"}, {"P:a\xc9" "b"}},
    {"NoStartKeepsBufferedUpToLimit", "#", ";", 0, false, false, 8, {"abcd", "efgh", "ij"},
     {"D:abcdefgh", "D:ij"}},
    {"BinaryBytes", "", "\r\n", 0, false, false, 1024, {std::string("\0\xff\r\n", 4)},
     {std::string("P:\0\xff", 4)}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SplitterCases : public ::testing::TestWithParam<Case> {};

TEST_P(SplitterCases, DeliversAndDiscards) {
  const Case& c = GetParam();
  Splitter s;
  s.SetStartString(c.start);
  s.SetStopString(c.stop);
  s.SetSize(c.size);
  s.SetIncludeStrings(c.include);
  s.SetCaseInsensitive(c.caseless);
  s.SetMaxBufferSize(c.maxBuffer);
  EXPECT_EQ(s.Run(c.chunks), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ComDataPacket, SplitterCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComDataPacket, BufferLimitDiscardsAtExactlyTheLimit) {
  Splitter s;
  s.SetStopString("\r\n");
  s.AddData(std::string(1023, 'x'));
  EXPECT_TRUE(s.ev.empty());
  s.AddData("x");
  ASSERT_EQ(s.ev.size(), 1u);
  EXPECT_EQ(s.ev[0], "D:" + std::string(1024, 'x'));
  EXPECT_TRUE(s.BufferedText().empty());

  s.SetMaxBufferSize(0);
  s.AddData(std::string(5000, 'y'));
  EXPECT_EQ(s.BufferedText().size(), 5000u);
}

TEST(ComDataPacket, FramingSettersResetOnlyOnAChangeAndNotWhileLoading) {
  using Setter = std::function<void(TComDataPacket&)>;
  const std::vector<std::pair<Setter, bool>> writes = {
      {[](TComDataPacket& s) { s.SetStopString(";"); }, false},
      {[](TComDataPacket& s) { s.SetStopString("!"); }, true},
      {[](TComDataPacket& s) { s.SetStartString("<"); }, true},
      {[](TComDataPacket& s) { s.SetSize(9); }, true},
      {[](TComDataPacket& s) { s.SetCaseInsensitive(true); }, true},
      {[](TComDataPacket& s) { s.SetIncludeStrings(true); }, false},
      {[](TComDataPacket& s) { s.SetMaxBufferSize(512); }, false},
  };
  for (std::size_t i = 0; i < writes.size(); ++i) {
    SCOPED_TRACE(i);
    Splitter s;
    s.SetStopString(";");
    s.AddData("abc");
    writes[i].first(s);
    EXPECT_EQ(s.ev, writes[i].second ? Events{"D:abc"} : Events{});

    Splitter loading;
    loading.SetStopString(";");
    loading.AddData("abc");
    loading.BeginLoading();
    writes[i].first(loading);
    loading.EndLoading();
    EXPECT_TRUE(loading.ev.empty());
    EXPECT_EQ(loading.BufferedText(), "abc");
  }
}

TEST(ComDataPacket, ResetBufferReturnsToSearchingForTheStart) {
  Splitter s;
  s.SetStartString("A");
  s.SetStopString("B");
  s.ResetBuffer();
  EXPECT_TRUE(s.ev.empty());
  s.AddData("A12");
  s.ResetBuffer();
  s.AddData("xB");
  s.AddData("A3B");
  EXPECT_EQ(s.ev, (Events{"D:A12", "D:xB", "P:3"}));
}

TEST(ComDataPacket, CustomHandlers) {
  Splitter s;
  s.SetStopString(";");
  int startAnswer = 0;
  s.OnCustomStart = [&](TObject*, const std::string&, int& pos) { pos = startAnswer; };
  s.AddData("abc");
  EXPECT_TRUE(s.ev.empty());  // 0 keeps waiting
  startAnswer = 100;          // beyond the buffer: all discarded, empty packet opened
  s.AddData("d");
  startAnswer = -1;  // back to the start string (none): packet opens at once
  s.AddData("12;");
  EXPECT_EQ(s.ev, (Events{"D:abcd", "P:12"}));

  // A custom end is stripped like any other packet; -2 keeps the packet open
  // even when the size is reached.
  Splitter t;
  t.SetStartString("<");
  t.SetStopString(";");
  t.SetSize(3);
  int stopAnswer = -2;
  t.OnCustomStop = [&](TObject*, const std::string& str, int& pos) {
    pos = stopAnswer == 0 ? static_cast<int>(str.find('>')) + 1 : stopAnswer;
  };
  t.AddData("x<ab");
  stopAnswer = 0;
  t.AddData("c>y");
  EXPECT_EQ(t.ev, (Events{"D:x", "P:abc>"}));
  EXPECT_EQ(t.BufferedText(), "y");
}

TEST(ComDataPacket, StopHandlerAnsweringOnAnEmptyBufferDoesNotSpin) {
  Splitter s;
  s.OnCustomStop = [](TObject*, const std::string&, int& pos) { pos = 1; };
  s.AddData("ab");
  EXPECT_EQ(s.ev, (Events{"P:a", "P:b"}));
}

TEST(ComDataPacket, HandlersMayChangeTheSplitterFromInsideOnPacket) {
  struct Change {
    const char* name;
    std::function<void(Splitter&)> onFirstPacket;
    std::vector<std::string> chunks;
    Events expected;
  };
  const Change changes[] = {
      {"IncludeStrings", [](Splitter& s) { s.SetIncludeStrings(true); }, {"<1><2>"}, {"P:1", "P:<2>"}},
      {"StopString", [](Splitter& s) { s.SetStopString(";"); }, {"<1>b;c;", "<d;"}, {"P:1", "D:b;c;", "P:d"}},
      {"ResetBuffer", [](Splitter& s) { s.ResetBuffer(); }, {"<1><2>x"}, {"P:1", "D:<2>x"}},
      {"MaxBufferSize", [](Splitter& s) { s.SetMaxBufferSize(2); }, {"<1>bcd"}, {"P:1", "D:bcd"}},
      {"AddData", [](Splitter& s) { s.AddData("<x>"); }, {"<1><2>"}, {"P:1", "P:2", "P:x"}},
      {"OnPacket", [](Splitter& s) { s.OnPacket = nullptr; }, {"<1><2>"}, {"P:1"}},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.name);
    Splitter s;
    s.SetStopString(">");
    s.SetStartString("<");
    auto record = s.OnPacket;
    bool first = true;
    s.OnPacket = [&](TObject* sender, const std::string& p) {
      record(sender, p);
      if (std::exchange(first, false)) c.onFirstPacket(s);
    };
    for (const auto& chunk : c.chunks) s.AddData(chunk);
    EXPECT_EQ(s.ev, c.expected);
  }
}

TEST(ComDataPacket, BufferLimitStillAppliesWhenAHandlerThrows) {
  Splitter s;
  s.SetStopString(";");
  s.SetMaxBufferSize(4);
  s.OnPacket = [](TObject*, const std::string&) { throw std::runtime_error("handler"); };
  EXPECT_THROW(s.AddData("a;bcdefg"), std::runtime_error);
  EXPECT_EQ(s.ev, Events{"D:bcdefg"});

  s.OnDiscard = [](TObject*, const std::string&) { throw std::runtime_error("handler"); };
  s.OnPacket = nullptr;
  s.AddData("xy");
  EXPECT_THROW(s.ResetBuffer(), std::runtime_error);
  EXPECT_TRUE(s.BufferedText().empty());
}

TEST(ComDataPacket, DiscardHandlerThatResetsOrReframesSeesEachTextOnce) {
  Splitter s;
  s.SetStopString(";");
  auto record = s.OnDiscard;
  s.OnDiscard = [&](TObject* sender, const std::string& d) {
    record(sender, d);
    s.ResetBuffer();
    s.SetStopString(d);
  };
  s.AddData("abc");
  s.ResetBuffer();
  EXPECT_EQ(s.ev, Events{"D:abc"});
}

// With no size rule and no limit the result must not depend on how the
// stream is chunked; this guards the incremental searches.
TEST(ComDataPacket, ResultDoesNotDependOnChunking) {
  std::mt19937 rng(7);
  const std::string alphabet = "ABab;x\r\n";
  const std::vector<std::string> strings = {"", "A", "AB", "ab", "\r\n", ";", "BA", "a;a"};
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  for (int round = 0; round < 300; ++round) {
    std::string data(pick(200), ' ');
    for (char& ch : data) ch = alphabet[pick(alphabet.size())];
    const std::string start = strings[pick(strings.size())];
    const std::string stop = strings[1 + pick(strings.size() - 1)];
    const bool include = pick(2), caseless = pick(2);
    auto run = [&](std::size_t maxChunk) {
      Splitter s;
      s.SetStartString(start);
      s.SetStopString(stop);
      s.SetIncludeStrings(include);
      s.SetCaseInsensitive(caseless);
      s.SetMaxBufferSize(0);
      std::vector<std::string> chunks;
      for (std::size_t i = 0; i < data.size();) {
        const std::size_t n = 1 + pick(maxChunk);
        chunks.push_back(data.substr(i, n));
        i += n;
      }
      return s.Run(chunks);
    };
    SCOPED_TRACE(::testing::Message() << "round " << round);
    const Events whole = run(data.size() + 1);
    EXPECT_EQ(run(1), whole);
    EXPECT_EQ(run(7), whole);
  }
}

// ---- attached to a port on a pseudo-terminal pair

struct SplitterOnPort : ::testing::Test {
  PtyPair pty;
  TComPort port;
  Splitter s;
  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    port.SetPort(pty.SlavePath());
    s.SetStopString("\r\n");
  }
};

TEST_F(SplitterOnPort, LineBytesReachOnPacketThroughThePort) {
  s.SetComPort(&port);  // attaching before the port opens is allowed
  EXPECT_EQ(s.ComPort(), &port);
  port.Open();
  ASSERT_TRUE(pty.WriteMaster(QByteArray("12.5\r\n\xb0\xff", 8)));
  ASSERT_TRUE(pty.WriteMaster(QByteArray("\0\r\n7\r\n", 6)));
  ASSERT_TRUE(PumpUntil([&] { return s.ev.size() >= 3; }));
  EXPECT_EQ(s.ev, (Events{"P:12.5", std::string("P:\xb0\xff\0", 5), "P:7"}));
}

TEST_F(SplitterOnPort, AttachingToASecondPortMovesTheLink) {
  PtyPair pty2;
  ASSERT_TRUE(pty2.IsValid());
  TComPort port2;
  port2.SetPort(pty2.SlavePath());
  port.Open();
  port2.Open();
  Splitter witness;  // shows that the first port still delivers
  witness.SetStopString("\r\n");
  witness.SetComPort(&port);

  s.SetComPort(&port);
  ASSERT_TRUE(pty.WriteMaster("a\r\n"));
  ASSERT_TRUE(PumpUntil([&] { return s.ev.size() == 1 && witness.ev.size() == 1; }));
  s.SetComPort(&port2);
  ASSERT_TRUE(pty.WriteMaster("b\r\n"));
  ASSERT_TRUE(PumpUntil([&] { return witness.ev.size() == 2; }));
  ASSERT_TRUE(pty2.WriteMaster("c\r\n"));
  ASSERT_TRUE(PumpUntil([&] { return s.ev.size() == 2; }));
  EXPECT_EQ(s.ev, (Events{"P:a", "P:c"}));
  s.SetComPort(nullptr);
  witness.SetComPort(nullptr);
}

TEST_F(SplitterOnPort, DestroyedPortIsForgottenAndDestroyedSplitterIsUnregistered) {
  {
    auto doomed = std::make_unique<TComPort>();
    doomed->SetPort(pty.SlavePath());
    doomed->Open();
    s.SetComPort(doomed.get());
  }
  EXPECT_EQ(s.ComPort(), nullptr);
  s.SetComPort(nullptr);

  // A splitter that goes away first must leave the port with no dangling link.
  PtyPair pty2;
  TComPort port2;
  port2.SetPort(pty2.SlavePath());
  port2.Open();
  s.SetComPort(&port2);
  auto gone = std::make_unique<Splitter>();
  gone->SetStopString("\r\n");
  gone->SetComPort(&port2);
  gone.reset();
  ASSERT_TRUE(pty2.WriteMaster("x\r\n"));
  ASSERT_TRUE(PumpUntil([&] { return !s.ev.empty(); }));
  EXPECT_EQ(s.ev, Events{"P:x"});
  s.SetComPort(nullptr);
}

}  // namespace
