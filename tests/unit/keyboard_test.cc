// Keys from key-down to NextKey: translation, characters, the close button, the queue.
#include <vector>

#include "canvas_fixture.h"
#include "input_injection.h"
#include "platform/messages.h"
#include "script.h"

namespace lumivex::testing {
namespace {

std::vector<int> Drain() {
  std::vector<int> codes;
  while (KeyWaiting())
    codes.push_back(NextKey());
  return codes;
}

struct KeyCase {
  const char* key_text;
  std::vector<int> codes;
};

class KeyTranslationTest : public CanvasTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTranslationTest, PressingTheKeyQueuesItsCodes) {
  Open(3, 4);
  script::KeyStroke stroke;
  ASSERT_TRUE(script::ParseKeySpec(GetParam().key_text, &stroke)) << GetParam().key_text;
  ASSERT_TRUE(InjectKeyStroke(stroke));
  EXPECT_EQ(Drain(), GetParam().codes) << GetParam().key_text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyTranslationTest,
    ::testing::Values(
        // Characters.
        KeyCase{"a", {97}}, KeyCase{"A", {65}}, KeyCase{"Enter", {13}}, KeyCase{"Escape", {27}},
        KeyCase{"Tab", {9}}, KeyCase{"Backspace", {8}}, KeyCase{"Space", {32}}, KeyCase{"*", {42}},
        KeyCase{"+", {43}}, KeyCase{"-", {45}}, KeyCase{"/", {47}}, KeyCase{"KP*", {42}},
        KeyCase{"Ctrl+c", {3}}, KeyCase{"Ctrl+Enter", {10}}, KeyCase{"!", {33}}, KeyCase{"@", {64}},
        KeyCase{")", {41}}, KeyCase{"?", {63}}, KeyCase{"~", {126}},
        KeyCase{"Ctrl+Backspace", {127}},
        // Extended keys.
        KeyCase{"Up", {0, 72}}, KeyCase{"Ctrl+Up", {0, 141}}, KeyCase{"Alt+Up", {0, 152}},
        KeyCase{"Shift+Up", {0, 72}}, KeyCase{"Ctrl+Alt+Up", {0, 141}}, KeyCase{"F1", {0, 59}},
        KeyCase{"Shift+F1", {0, 84}}, KeyCase{"Shift+Ctrl+F1", {0, 84}},
        KeyCase{"Ctrl+F1", {0, 94}}, KeyCase{"Alt+F1", {0, 104}}, KeyCase{"F10", {0, 68}},
        KeyCase{"F11", {0, 133}}, KeyCase{"Shift+F12", {0, 136}}, KeyCase{"Alt+F12", {0, 140}},
        KeyCase{"Home", {0, 71}}, KeyCase{"End", {0, 79}}, KeyCase{"PageUp", {0, 73}},
        KeyCase{"Ctrl+PageDown", {0, 118}}, KeyCase{"Alt+Insert", {0, 162}},
        KeyCase{"Delete", {0, 83}}, KeyCase{"Apps", {0, 151}}, KeyCase{"Ctrl+Apps", {0, 151}},
        KeyCase{"KP5", {0, 76}}, KeyCase{"Ctrl+KP5", {0, 143}}, KeyCase{"Alt+KP5", {0, 76}},
        KeyCase{"Ctrl+KP*", {0, 149}}, KeyCase{"Alt+KP+", {0, 78}}, KeyCase{"Alt+KP-", {0, 74}},
        KeyCase{"Ctrl+KP.", {0, 150}}, KeyCase{"Alt+KP/", {0, 69}}, KeyCase{"Pause", {0, 12}},
        KeyCase{"Ctrl+Pause", {}}, KeyCase{"Alt+Pause", {0, 169}},
        // Alt and Control combinations.
        KeyCase{"Alt+x", {0, 45}}, KeyCase{"Alt+a", {0, 30}}, KeyCase{"Alt+Enter", {0, 166}},
        KeyCase{"Alt+Backspace", {0, 14}}, KeyCase{"Alt+Space", {0, 11}}, KeyCase{"Ctrl+Tab", {30}},
        KeyCase{"Alt+F4", {0, 107}}, KeyCase{"Ctrl+5", {0, 5}}, KeyCase{"Ctrl+0", {0, 10}},
        KeyCase{"Alt+0", {0, 129}}, KeyCase{"Alt+9", {0, 128}},
        KeyCase{"Ctrl+Alt+5", {0, 5, 0, 124}}));

TEST_F(CanvasTest, CapsLockTurnsLettersOverUntilPressedAgain) {
  Open(3, 4);
  const std::vector<InjectedMessage> caps_lock = {{kMsgKeyDown, kVkCapsLock, 1},
                                                  {kMsgKeyUp, kVkCapsLock, 1u | 3u << 30}};
  script::KeyStroke a, shift_a;
  ASSERT_TRUE(script::ParseKeySpec("a", &a));
  ASSERT_TRUE(script::ParseKeySpec("A", &shift_a));
  ASSERT_TRUE(InjectMessages(caps_lock));
  ASSERT_TRUE(InjectKeyStroke(a));
  ASSERT_TRUE(InjectKeyStroke(shift_a));
  ASSERT_TRUE(InjectMessages(caps_lock));
  ASSERT_TRUE(InjectKeyStroke(a));
  EXPECT_EQ(Drain(), (std::vector<int>{'A', 'a', 'a'}));
}

TEST_F(CanvasTest, ModifiersAloneQueueNothing) {
  Open(3, 4);
  for (uint32_t key : {kVkShift, kVkControl}) {
    ASSERT_TRUE(SendToWindow(kMsgKeyDown, key, 1));
    ASSERT_TRUE(SendToWindow(kMsgKeyUp, key, 1));
  }
  ASSERT_TRUE(SendToWindow(kMsgSysKeyDown, kVkAlt, 1u << 29));
  EXPECT_FALSE(KeyWaiting());
}

TEST_F(CanvasTest, CloseButtonQueuesThePair) {
  Open(3, 4);
  ASSERT_TRUE(InjectClose());
  EXPECT_TRUE(CanvasIsOpen());
  EXPECT_EQ(Drain(), (std::vector<int>{0, 107}));
}

TEST_F(CanvasTest, AFullQueueDropsTheOldestCodes) {
  Open(3, 4);
  script::KeyStroke stroke;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(script::StrokeForCharacter(static_cast<char>('A' + i % 26), &stroke));
    ASSERT_TRUE(InjectKeyStroke(stroke));
  }
  std::vector<int> expected;
  for (int i = 9; i < 40; ++i)
    expected.push_back('A' + i % 26);
  EXPECT_EQ(Drain(), expected);

  // Full of single codes, then an extended key: its 0 and its code each push one out.
  for (int i = 0; i < 31; ++i) {
    ASSERT_TRUE(script::StrokeForCharacter('a', &stroke));
    ASSERT_TRUE(InjectKeyStroke(stroke));
  }
  ASSERT_TRUE(script::ParseKeySpec("Up", &stroke));
  ASSERT_TRUE(InjectKeyStroke(stroke));
  std::vector<int> codes = Drain();
  ASSERT_EQ(codes.size(), 31u);
  EXPECT_EQ(codes[28], 'a');
  EXPECT_EQ(codes[29], 0);
  EXPECT_EQ(codes[30], 72);
}

TEST_F(CanvasTest, AnOverflowDropsAWholeExtendedPair) {
  Open(3, 4);
  script::KeyStroke up, a;
  ASSERT_TRUE(script::ParseKeySpec("Up", &up));
  ASSERT_TRUE(script::ParseKeySpec("a", &a));
  ASSERT_TRUE(InjectKeyStroke(up));  // 0, 72 at the head of the queue
  for (int i = 0; i < 29; ++i)
    ASSERT_TRUE(InjectKeyStroke(a));
  ASSERT_TRUE(InjectKeyStroke(a));  // overflows: the pair 0, 72 goes
  std::vector<int> codes = Drain();
  EXPECT_EQ(codes, std::vector<int>(30, 'a'));
}

TEST_F(CanvasTest, CodesLeftAfterClosingStayUntilTheNextOpening) {
  Open(3, 4);
  script::KeyStroke a;
  ASSERT_TRUE(script::ParseKeySpec("a", &a));
  ASSERT_TRUE(InjectKeyStroke(a));
  CloseCanvas();
  EXPECT_TRUE(KeyWaiting());
  EXPECT_EQ(NextKey(), 0);  // at once, the queue untouched
  EXPECT_TRUE(KeyWaiting());
  Open(3, 4);
  EXPECT_FALSE(KeyWaiting());
}

TEST(PauseTest, SleepsTheGivenTime) {
  const auto start = std::chrono::steady_clock::now();
  Pause(0);
  Pause(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace lumivex::testing
