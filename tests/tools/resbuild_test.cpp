// The resource builder's own pieces: turning canvases into archive pixels, quantising,
// the isometric geometry and the synthesiser.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/resbuild/canvas.h"
#include "tools/resbuild/entries.h"
#include "tools/resbuild/iso.h"
#include "tools/resbuild/quantize.h"
#include "tools/resbuild/synth.h"

namespace resbuild {
namespace {

TEST(FlattenCanvasTest, EdgesKeepTheirColourAndOnlyEmptyPixelsBecomeHoles) {
  Canvas canvas(20, 20);
  cairo_arc(canvas.cr(), 10, 10, 6.3, 0, 2 * std::numbers::pi);
  canvas.SetColor(Rgb::Bytes(200, 100, 50));
  cairo_fill(canvas.cr());
  cairo_rectangle(canvas.cr(), 0, 0, 2, 2);  // drawn pure black
  canvas.SetColor(Rgb::Bytes(0, 0, 0));
  cairo_fill(canvas.cr());
  const gfx::MemVideo flat = FlattenCanvas(canvas, true);
  canvas.Flush();
  int holes = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const gfx::Color c = flat.at(x, y);
      const std::uint32_t alpha = canvas.Row(y)[x] >> 24;
      if (x < 2 && y < 2) {
        EXPECT_EQ(c, kNearBlack);
      } else if (alpha < 128) {
        EXPECT_EQ(c, gfx::kBlack) << x << "," << y;
        ++holes;
      } else {
        // Un-premultiplied: a half-covered edge pixel has the fill's colour, not a darker one.
        EXPECT_NEAR(gfx::RedOf(c), 200, 2) << x << "," << y;
        EXPECT_NEAR(gfx::GreenOf(c), 100, 2);
        EXPECT_NEAR(gfx::BlueOf(c), 50, 2);
      }
    }
  }
  EXPECT_GT(holes, 100);
}

TEST(FlattenCanvasTest, OpaquePicturesShowEveryPixelOverBlack) {
  Canvas canvas(4, 1);
  cairo_rectangle(canvas.cr(), 0, 0, 2, 1);
  canvas.SetColor(Rgb::Bytes(100, 100, 100), 0.5);
  cairo_fill(canvas.cr());
  const gfx::MemVideo flat = FlattenCanvas(canvas, false);
  EXPECT_NEAR(gfx::RedOf(flat.at(0, 0)), 50, 1);
  EXPECT_EQ(flat.at(3, 0), kNearBlack);  // nothing drawn, yet shown
}

TEST(QuantiseTest, FewColoursStayExactAndHolesKeepIndexZero) {
  gfx::MemVideo a(3, 1);
  a.set(0, 0, gfx::Rgb(1, 2, 3));
  a.set(2, 0, gfx::Rgb(200, 10, 10));
  gfx::MemVideo b(2, 1);
  b.set(0, 0, gfx::Rgb(200, 10, 10));
  b.set(1, 0, gfx::Rgb(9, 9, 9));
  const gfx::MemVideo* pictures[] = {&a, &b};
  const QuantisedGroup group = QuantiseGroup(pictures);
  ASSERT_EQ(group.indices.size(), 2u);
  EXPECT_EQ(group.indices[0][1], 0);
  EXPECT_EQ(group.palette[0], gfx::kBlack);
  const gfx::MemVideo shownA = ShowIndices(3, 1, group.indices[0], group.palette);
  const gfx::MemVideo shownB = ShowIndices(2, 1, group.indices[1], group.palette);
  EXPECT_EQ(shownA.at(0, 0), gfx::Rgb(1, 2, 3));
  EXPECT_EQ(shownA.at(1, 0), gfx::kBlack);
  EXPECT_EQ(shownA.at(2, 0), gfx::Rgb(200, 10, 10));
  EXPECT_EQ(shownB.at(1, 0), gfx::Rgb(9, 9, 9));
  EXPECT_EQ(group.indices[0][2], group.indices[1][0]);
}

TEST(QuantiseTest, ManyColoursNeverBecomeBlackAndEqualColoursShareAnIndex) {
  // A ramp from almost black, plenty of other colours, holes among them.
  gfx::MemVideo picture(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if ((x * 7 + y * 3) % 11 == 0) continue;  // a hole
      const auto v = static_cast<std::uint8_t>(y < 8 ? 1 + x % 4 : x * 4);
      picture.set(x, y,
                  gfx::Rgb(v, static_cast<std::uint8_t>(y * 4), static_cast<std::uint8_t>(x ^ y)));
    }
  }
  gfx::MemVideo copy = picture;
  const gfx::MemVideo* pictures[] = {&picture, &copy};
  const QuantisedGroup group = QuantiseGroup(pictures);
  for (int i = 1; i < 256; ++i) EXPECT_NE(group.palette[i], gfx::kBlack) << i;
  for (int i = 0; i < 64 * 64; ++i) {
    EXPECT_EQ(group.indices[0][i] == 0, picture.pixels()[i] == gfx::kBlack) << i;
    EXPECT_EQ(group.indices[0][i], group.indices[1][i]);
  }
}

TEST(IsoTest, CellCornersAndTheInverseProjection) {
  const Iso tile = Iso::Tile();
  EXPECT_DOUBLE_EQ(tile.At(0, 0).x, 72);
  EXPECT_DOUBLE_EQ(tile.At(0, 0).y, 0);
  EXPECT_DOUBLE_EQ(tile.At(1, 0).x, 144);  // x axis to the lower right
  EXPECT_DOUBLE_EQ(tile.At(1, 0).y, 48);
  EXPECT_DOUBLE_EQ(tile.At(0, 1).x, 0);  // y axis to the lower left
  EXPECT_DOUBLE_EQ(tile.At(1, 1).y, 96);
  EXPECT_DOUBLE_EQ(Iso::Structure().At(1, 1).y, 105);
  EXPECT_DOUBLE_EQ(tile.At(0.5, 0.5, 10).y, 38);
  const Point p = tile.ToMap(tile.At(0.3, 0.8).x, tile.At(0.3, 0.8).y);
  EXPECT_NEAR(p.x, 0.3, 1e-12);
  EXPECT_NEAR(p.y, 0.8, 1e-12);
  EXPECT_TRUE(tile.PixelInDiamond(71, 0));
  EXPECT_FALSE(tile.PixelInDiamond(60, 0));
  EXPECT_FALSE(tile.PixelInDiamond(0, 0));
  EXPECT_FALSE(tile.PixelInDiamond(0, 47));
  EXPECT_TRUE(tile.PixelInDiamond(1, 47));
}

TEST(EntryTableTest, SheetSizesFollowTheLayouts) {
  EXPECT_EQ(SheetSize(*FindEntry("tiles0")).width, 8 * 145 - 1);
  EXPECT_EQ(SheetSize(*FindEntry("tiles0")).height, 5 * 97 - 1);
  EXPECT_EQ(SheetSize(*FindEntry("TBButtonI")).width, 360);
  EXPECT_EQ(SheetSize(*FindEntry("TBButtonI")).height, 120);
  EXPECT_EQ(SheetSize(*FindEntry("MiniMap")).width, 108);
  EXPECT_EQ(SheetSize(*FindEntry("StType5")).width, 480);
  EXPECT_EQ(SheetSize(*FindEntry("StType5")).height, 210);
  EXPECT_EQ(SheetSize(*FindEntry("EarthCImage")).width, 576);
  EXPECT_EQ(SheetSize(*FindEntry("DlgButton")).height, 144);
  EXPECT_NE(FindEntry("DLGBUTTON"), nullptr);
  const gfx::FramePoint frame9 = FrameOrigin(*FindEntry("tiles1"), 9);
  EXPECT_EQ(frame9.x, 145);
  EXPECT_EQ(frame9.y, 106);
}

TEST(SynthTest, WaveFileHeaderAndClipping) {
  synth::Buffer buffer(0.0);
  buffer.samples = {0.0, 0.5, 1.0, 2.0, -2.0};
  const gfx::ByteBuffer wave = synth::EncodeWave(buffer);
  ASSERT_EQ(wave.size(), 44u + 10u);
  const auto sample = [&](int i) {
    return static_cast<std::int16_t>(wave[44 + 2 * i] | (wave[45 + 2 * i] << 8));
  };
  EXPECT_EQ(sample(0), 0);
  EXPECT_EQ(sample(1), 16384);
  EXPECT_EQ(sample(2), 32767);
  EXPECT_EQ(sample(3), 32767);
  EXPECT_EQ(sample(4), -32767);
  EXPECT_EQ(wave[40], 10);  // data size
}

TEST(SynthTest, ToneHasItsPitchAndTheEnvelopeItsShape) {
  synth::Buffer tone = synth::Tone(synth::Wave::Sine, 1.0, 441);
  int crossings = 0;
  for (std::size_t i = 1; i < tone.samples.size(); ++i) {
    crossings += (tone.samples[i - 1] < 0) != (tone.samples[i] < 0);
  }
  EXPECT_NEAR(crossings, 882, 2);

  synth::Buffer flat(1.0);
  for (double& s : flat.samples) s = 1.0;
  synth::ApplyEnvelope(flat, {0.1, 0.1, 0.5, 0.2});
  const auto at = [&](double t) {
    return flat.samples[static_cast<std::size_t>(t * synth::kSampleRate)];
  };
  EXPECT_NEAR(at(0.05), 0.5, 0.01);  // halfway up the attack
  EXPECT_NEAR(at(0.1), 1.0, 0.01);
  EXPECT_NEAR(at(0.5), 0.5, 0.01);   // sustained
  EXPECT_NEAR(at(0.9), 0.25, 0.01);  // halfway through the release
  EXPECT_NEAR(flat.samples.back(), 0.0, 0.01);
}

TEST(SynthTest, NoiseIsRepeatableAndFiltersTakeTheTopOff) {
  synth::Buffer a = synth::Noise(0.2, 5);
  const synth::Buffer b = synth::Noise(0.2, 5);
  EXPECT_EQ(a.samples, b.samples);
  const auto roughness = [](const synth::Buffer& x) {
    double sum = 0;
    for (std::size_t i = 1; i < x.samples.size(); ++i)
      sum += std::abs(x.samples[i] - x.samples[i - 1]);
    return sum;
  };
  const double before = roughness(a);
  synth::LowPass(a, 500);
  EXPECT_LT(roughness(a), before * 0.2);
}

}  // namespace
}  // namespace resbuild
