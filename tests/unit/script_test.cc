// The script parser: good lines become steps, bad lines name the file, line and word.
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "script.h"

namespace lumivex::script {
namespace {

TEST(ScriptParserTest, GoodLines) {
  std::vector<Step> steps;
  std::string error;
  ASSERT_TRUE(
      ParseScript("# a comment\n"
                  "wait idle\n"
                  "  wait shows 2   # trailing comment\n"
                  "wait polls 100\nwait opens 1\nwait ms 5\n"
                  "key Ctrl+Up\nkey A\nkey KP+\nkey Ctrl++\nkey Shift+Ctrl+F1\n"
                  "text az 9*\n"
                  "mouse 10 -20 left ctrl\nwheel 300 400\nclose\nshot out dir/f.png\n\n",
                  "s.txt", &steps, &error))
      << error;
  ASSERT_EQ(steps.size(), 15u);
  EXPECT_EQ(steps[0].kind, StepKind::kWaitIdle);
  EXPECT_EQ(steps[1].kind, StepKind::kWaitShows);
  EXPECT_EQ(steps[1].count, 2);
  EXPECT_EQ(steps[1].line, 3);
  EXPECT_EQ(steps[5].strokes[0].virtual_key, kVkUp);
  EXPECT_TRUE(steps[5].strokes[0].control);
  EXPECT_EQ(steps[6].strokes[0].virtual_key, 'A');
  EXPECT_TRUE(steps[6].strokes[0].shift);
  EXPECT_EQ(steps[7].strokes[0].virtual_key, kVkAdd);
  EXPECT_EQ(steps[8].strokes[0].virtual_key, kVkEquals);
  EXPECT_TRUE(steps[8].strokes[0].shift && steps[8].strokes[0].control);
  EXPECT_TRUE(steps[9].strokes[0].shift && steps[9].strokes[0].control);
  EXPECT_EQ(steps[10].strokes.size(), 5u);
  EXPECT_EQ(steps[11].y, -20);
  EXPECT_EQ(steps[11].mouse_flags, kMkLeftButton | kMkControl);
  EXPECT_EQ(steps[12].kind, StepKind::kWheel);
  EXPECT_EQ(steps[14].path, "out dir/f.png");
}

TEST(ScriptParserTest, BadLinesNameFileLineAndWord) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"jump 3\n", "s:1: unknown step 'jump'"},
      {"wait idle\nkey Hyper+a\n", "s:2: unknown key 'Hyper+a'"},
      {"key Ctrl+\n", "s:1: unknown key 'Ctrl+'"},
      {"wait shows two\n", "s:1: not a number 'two'"},
      {"wait shows -1\n", "s:1: not a number '-1'"},
      {"wait ms 99999999999999999999\n", "s:1: not a number '99999999999999999999'"},
      {"wait soon 3\n", "s:1: unknown wait 'soon'"},
      {"wait\n", "s:1: missing argument after 'wait'"},
      {"wait idle now\n", "s:1: unexpected word 'now'"},
      {"mouse 1\n", "s:1: missing argument after '1'"},
      {"mouse 1 70000\n", "s:1: not a coordinate '70000'"},
      {"mouse 1 2 thumb\n", "s:1: unknown mouse flag 'thumb'"},
      {"text \xC3\xA9\n", "s:1: no key types '\xC3'"},
      {"shot\n", "s:1: missing argument after 'shot'"},
      {"close now\n", "s:1: unexpected word 'now'"},
  };
  for (const Case& c : cases) {
    std::vector<Step> steps;
    std::string error;
    EXPECT_FALSE(ParseScript(c.text, "s", &steps, &error)) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

}  // namespace
}  // namespace lumivex::script
