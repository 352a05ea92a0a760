// blossom_trees and windy_trees end to end, headless, with the tick count fixed.
#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "support/program_runner.h"
#include "testing.h"

namespace lumivex::testing {
namespace {

// The share of the non-background pixels of `a` that have a pixel of the same colour in `b`
// at most two pixels away: near 1 when `a` is `b` with its branches moved a little (the wind),
// far lower for another tree.
double ShareNear(const Picture& a, const Picture& b) {
  constexpr int32_t kReach = 2;
  size_t drawn = 0, near = 0;
  for (int32_t y = 0; y < a.height; ++y) {
    for (int32_t x = 0; x < a.width; ++x) {
      const uint32_t colour = a.At(x, y);
      if (colour == 0) continue;
      ++drawn;
      bool found = false;
      for (int32_t ny = std::max(0, y - kReach); ny <= std::min(b.height - 1, y + kReach); ++ny) {
        for (int32_t nx = std::max(0, x - kReach); nx <= std::min(b.width - 1, x + kReach); ++nx) {
          found = found || b.At(nx, ny) == colour;
        }
      }
      near += found;
    }
  }
  return drawn == 0 ? 0.0 : static_cast<double>(near) / static_cast<double>(drawn);
}

// What the default palette shows for the tree's colours: entries 2, 6 and 10 and the entry
// nearest to the predefined pink, read from a canvas opened here.
struct TreeColours {
  uint32_t background, green, brown, light_green, blossom;
};

const TreeColours& DefaultTreeColours() {
  static const TreeColours colours = [] {
    int16_t driver = 3, mode = 6;
    OpenCanvas(driver, mode, "colours");
    EXPECT_TRUE(CanvasIsOpen());
    const TreeColours read{ColourTableEntry(0), ColourTableEntry(2), ColourTableEntry(6),
                           ColourTableEntry(10),
                           ColourTableEntry(static_cast<int>(PredefinedColours[131]))};
    CloseCanvas();
    return read;
  }();
  return colours;
}

void ExpectOnlyTreeColours(const Picture& picture) {
  const TreeColours& c = DefaultTreeColours();
  const std::set<uint32_t> allowed = {c.background, c.green, c.brown, c.light_green, c.blossom};
  std::set<uint32_t> seen;
  for (uint32_t pixel : picture.pixels) {
    seen.insert(pixel);
  }
  for (uint32_t colour : seen) {
    EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
  }
  EXPECT_TRUE(seen.count(c.brown));
  EXPECT_TRUE(seen.count(c.green) || seen.count(c.light_green));
}

// The trunk's centre line runs from (399.5, 678.9) to about (399.5, 519.1): it enters the
// 800 x 600 canvas from below at column 399 or 400 and nothing else reaches the bottom rows.
void ExpectTrunkFromBelow(const Picture& picture) {
  const TreeColours& c = DefaultTreeColours();
  ASSERT_EQ(picture.width, 800);
  ASSERT_EQ(picture.height, 600);
  for (int32_t row : {599, 560, 521}) {
    EXPECT_TRUE(picture.At(399, row) == c.brown || picture.At(400, row) == c.brown) << row;
  }
  for (int32_t x = 0; x < 800; ++x) {
    const uint32_t pixel = picture.At(x, 599);
    if (x >= 385 && x <= 414) {
      EXPECT_TRUE(pixel == c.brown || pixel == c.background) << x;
    } else {
      EXPECT_EQ(pixel, c.background) << x;
    }
  }
}

Picture ReadShot(const std::string& name) {
  Picture picture;
  EXPECT_TRUE(ReadPng(TestDirectory() + "/" + name, &picture)) << name;
  return picture;
}

// Runs blossom_trees: `steps` after the first tree is drawn, then a shot and Escape.
Picture BlossomTrees(const std::string& ticks, const std::string& steps, const std::string& shot) {
  RunOptions options;
  options.script = "wait idle\n" + steps + "shot " + shot + "\nkey Escape\n";
  options.environment = {{"LUMIVEX_TICKS", ticks}};
  const RunResult result = RunProgram("blossom_trees", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  return ReadShot(shot);
}

TEST(BlossomTreesTest, TrunkFromBelowInTheTreeColoursOnly) {
  const Picture tree = BlossomTrees("2026", "", "tree.png");
  ExpectTrunkFromBelow(tree);
  ExpectOnlyTreeColours(tree);
}

TEST(BlossomTreesTest, TheTicksDecideTheTreesAndEveryKeyDrawsANewOne) {
  const Picture a = BlossomTrees("77", "", "a.png");
  const Picture b = BlossomTrees("77", "", "b.png");
  const Picture other_ticks = BlossomTrees("78", "", "c.png");
  const Picture second = BlossomTrees("77", "key a\nwait idle\n", "d.png");
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_NE(a.pixels, other_ticks.pixels);
  EXPECT_NE(a.pixels, second.pixels);
  ExpectTrunkFromBelow(second);
}

TEST(BlossomTreesTest, ExtendedKeysAndTheCloseButtonAreTwoKeysEach) {
  // Two plain keys draw the second and third trees.
  const Picture third = BlossomTrees("5", "text ab\nwait idle\n", "third.png");
  for (const char* step : {"key Up", "close"}) {
    SCOPED_TRACE(step);
    EXPECT_EQ(BlossomTrees("5", std::string(step) + "\nwait idle\n", "pair.png").pixels,
              third.pixels);
  }
}

// Runs windy_trees for frames 1..last and returns what the window showed right after each
// page flip: element i is frame i's picture (element 0 the empty page of the first flip).
// keys[i] are pressed while frame i is being drawn, before it looks for a key.
std::vector<Picture> WindyTrees(const std::string& ticks, const std::map<int, std::string>& keys,
                                int last) {
  std::string script;
  for (int frame = 1; frame <= last + 1; ++frame) {
    script += "wait shows " + std::to_string(frame) + "\n";
    script += "shot f" + std::to_string(frame - 1) + ".png\n";
    if (auto key = keys.find(frame); key != keys.end()) script += key->second + "\n";
  }
  script += "key Escape\n";
  RunOptions options;
  options.script = script;
  options.environment = {{"LUMIVEX_TICKS", ticks}};
  const RunResult result = RunProgram("windy_trees", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  std::vector<Picture> frames;
  for (int frame = 0; frame <= last; ++frame) {
    frames.push_back(ReadShot("f" + std::to_string(frame) + ".png"));
  }
  return frames;
}

constexpr char kWindyTicks[] = "2026";

TEST(WindyTreesTest, TheSameTreeSwaysFromFrameToFrame) {
  const std::vector<Picture> frames = WindyTrees(kWindyTicks, {}, 3);
  ASSERT_EQ(frames.size(), 4u);
  // The first flip shows page 1, still empty.
  EXPECT_EQ(frames[0].pixels, std::vector<uint32_t>(800 * 600, 0));
  for (int frame = 1; frame <= 3; ++frame) {
    SCOPED_TRACE(frame);
    ExpectTrunkFromBelow(frames[frame]);
    ExpectOnlyTreeColours(frames[frame]);
  }
  // Consecutive frames: the same tree, its branches moved a little.
  for (int frame = 1; frame < 3; ++frame) {
    EXPECT_NE(frames[frame + 1].pixels, frames[frame].pixels) << frame;
    EXPECT_GT(ShareNear(frames[frame + 1], frames[frame]), 0.9) << frame;
  }
}

TEST(WindyTreesTest, EnterChangesTheTreeFromTheNextFrame) {
  const std::vector<Picture> still = WindyTrees(kWindyTicks, {}, 4);
  struct Case {
    const char* keys;  // pressed during frame 2
    int first_new;     // the first frame of the new tree
  } const cases[] = {
      {"key Enter", 3},
      // At most one key, or one pair, is taken a frame: the Enter behind waits a frame.
      {"key a\nkey Enter", 4},
      {"key Up\nkey Enter", 4},
      {"close\nkey Enter", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const std::vector<Picture> frames = WindyTrees(kWindyTicks, {{2, c.keys}}, 4);
    ASSERT_EQ(frames.size(), still.size());
    // Frames with the same tree seed and wind phase are identical.
    for (int frame = 1; frame < c.first_new; ++frame) {
      EXPECT_EQ(frames[frame].pixels, still[frame].pixels) << frame;
    }
    for (int frame = c.first_new; frame <= 4; ++frame) {
      EXPECT_LT(ShareNear(frames[frame], still[frame]), 0.7) << frame;
      ExpectTrunkFromBelow(frames[frame]);
    }
  }
}

TEST(TreeProgramsTest, AWindowThatCannotOpenEndsWithAMessage) {
  for (const char* program : {"blossom_trees", "windy_trees"}) {
    ExpectEndsWhenTheWindowCannotOpen(program);
  }
}

}  // namespace
}  // namespace lumivex::testing
