// The twelve land tiles: a painted ground per landscape, lit by its height field, cut by a coast.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "artwork.h"
#include "noise.h"

namespace artgen {

namespace {

// What a landscape shows at one point: its colour before lighting and the height that lights it.
struct Ground {
  Rgb colour;
  double height = 0;  // in pixels
};

using Landscape = Ground (*)(double x, double y, std::uint64_t seed);

constexpr double pi = 3.14159265358979323846;

// A colour taken from a few choices by a value in [0, 1).
template <std::size_t N>
Rgb pick(const std::array<Rgb, N>& choices, double id) {
  return choices[static_cast<std::size_t>(id * N) % N];
}

// Fine speckle so that no area looks like a flat fill.
Rgb grain(Rgb c, double x, double y, std::uint64_t seed, double amount) {
  return scale(c, 1 + amount * (fractal(x * 0.7, y * 0.7, 2, seed) - 0.5));
}

// Coordinates bent by noise, so that field borders and streets are not ruler-straight.
void warp(double& x, double& y, double size, double amount, std::uint64_t seed) {
  const double wx = fractal(x / size, y / size, 3, seed) - 0.5;
  const double wy = fractal(x / size, y / size, 3, seed + 77) - 0.5;
  x += wx * amount;
  y += wy * amount;
}

// A round tree crown in a jittered grid of the given spacing: dome height, 0 between crowns.
double crown(const Cells& c, double radius) {
  const double t = c.nearest / radius;
  return t >= 1 ? 0 : std::sqrt(1 - t * t);
}

// Stripes along a direction given by an angle in [0, 1) of a half turn.
double stripes(double x, double y, double angle, double spacing) {
  const double a = angle * pi;
  return 0.5 + 0.5 * std::sin((x * std::cos(a) + y * std::sin(a)) * 2 * pi / spacing);
}

Ground hedgerow(Ground field, double x, double y, const Cells& parcel, double width,
                std::uint64_t seed) {
  const double border = parcel.second - parcel.nearest;
  const double bushes = fractal(x / 3, y / 3, 2, seed + 9);
  const double w = width * (0.6 + 0.8 * bushes);
  if (border >= w) return field;
  const double t = 1 - border / w;
  Ground hedge{mix(rgb255(40, 66, 30), rgb255(74, 98, 42), bushes), 2.5 * std::sqrt(t) + bushes};
  hedge.colour = mix(field.colour, hedge.colour, smoothstep(0, 0.35, t));
  return hedge;
}

Ground patchworkFields(double x, double y, std::uint64_t seed) {
  static const std::array<Rgb, 7> crops = {
      rgb255(196, 170, 92), rgb255(112, 142, 62),  rgb255(78, 112, 48), rgb255(146, 110, 74),
      rgb255(160, 172, 84), rgb255(204, 184, 104), rgb255(98, 120, 70)};
  double wx = x, wy = y;
  warp(wx, wy, 40, 14, seed);
  const Cells parcel = cells(wx / 26, wy / 26, seed);
  const double furrows =
      stripes(wx, wy, hashUnit(static_cast<std::int64_t>(parcel.id * 1e6), 1, seed), 2.6);
  Rgb colour = pick(crops, parcel.id);
  colour = scale(colour, 0.93 + 0.1 * furrows);
  colour = grain(colour, x, y, seed + 1, 0.22);
  const Ground field{colour, 0.4 * furrows + 6 * fractal(x / 60, y / 60, 2, seed + 2)};
  return hedgerow(field, x, y, {parcel.nearest * 26, parcel.second * 26, 0, 0, 0}, 1.3, seed);
}

Ground meadowWithHedges(double x, double y, std::uint64_t seed) {
  double wx = x, wy = y;
  warp(wx, wy, 30, 10, seed);
  const Cells parcel = cells(wx / 38, wy / 38, seed);
  const double patches = fractal(x / 14, y / 14, 4, seed + 3);
  Rgb grass = mix(rgb255(88, 130, 50), rgb255(138, 160, 70), patches);
  grass = mix(grass, rgb255(118, 140, 58), parcel.id * 0.6);
  const double flowers = fractal(x / 2.5, y / 2.5, 2, seed + 4);
  if (flowers > 0.72) grass = mix(grass, rgb255(190, 190, 120), (flowers - 0.72) * 2);
  grass = grain(grass, x, y, seed + 5, 0.25);
  Ground ground{grass, 5 * fractal(x / 50, y / 50, 2, seed + 6)};
  const Cells tree = cells(x / 11, y / 11, seed + 7);
  if (tree.id > 0.9) {
    const double dome = crown(tree, 0.42);
    if (dome > 0)
      ground = {grain(rgb255(52, 84, 36), x, y, seed + 8, 0.5), ground.height + 4 * dome};
  }
  return hedgerow(ground, x, y, {parcel.nearest * 38, parcel.second * 38, 0, 0, 0}, 1.9, seed);
}

Ground forestCrowns(double x, double y, double size, std::uint64_t seed, bool mixed) {
  double wx = x, wy = y;
  warp(wx, wy, 12, 3, seed);
  const Cells tree = cells(wx / size, wy / size, seed);
  const double dome = crown(tree, 0.75);
  const double tone = fractal(x / 20, y / 20, 3, seed + 1);
  Rgb leaf = mix(rgb255(30, 62, 28), rgb255(62, 96, 40), tone * 0.7 + tree.id * 0.3);
  if (mixed) {
    static const std::array<Rgb, 5> species = {rgb255(34, 66, 40), rgb255(82, 112, 44),
                                               rgb255(104, 120, 48), rgb255(48, 84, 34),
                                               rgb255(130, 112, 50)};
    leaf = pick(species, tree.id);
  }
  leaf = scale(leaf, 0.55 + 0.55 * dome);
  leaf = grain(leaf, x, y, seed + 2, 0.35);
  return {leaf, size * 0.9 * dome + 6 * tone};
}

Ground denseForest(double x, double y, std::uint64_t seed) {
  return forestCrowns(x, y, 5.2, seed, false);
}

Ground mixedForest(double x, double y, std::uint64_t seed) {
  const double clearing = fractal(x / 26, y / 26, 3, seed + 11);
  const double meadow = fractal(x / 6, y / 6, 3, seed + 12);
  const Ground open{grain(mix(rgb255(126, 154, 66), rgb255(168, 170, 86), meadow), x, y, seed, 0.2),
                    meadow};
  const Ground wood = forestCrowns(x, y, 6.5, seed, true);
  const double t = smoothstep(0.5, 0.56, clearing);
  return {mix(open.colour, wood.colour, t), open.height + t * (wood.height + 5)};
}

Ground rollingHills(double x, double y, std::uint64_t seed) {
  const double h = fractal(x / 34, y / 34, 5, seed);
  const double lush = fractal(x / 16, y / 16, 3, seed + 1);
  Rgb grass = mix(rgb255(62, 108, 44), rgb255(124, 148, 64), smoothstep(0.35, 0.75, h));
  grass = mix(grass, rgb255(108, 136, 52), lush * 0.5);
  double px = x, py = y;
  warp(px, py, 25, 20, seed + 2);
  const double path = std::fabs(fractal(px / 40, py / 40, 2, seed + 3) - 0.5);
  if (path < 0.012) grass = mix(grass, rgb255(170, 150, 110), 0.8);
  grass = grain(grass, x, y, seed + 4, 0.2);
  return {grass, 48 * h};
}

Ground rockyHighland(double x, double y, std::uint64_t seed) {
  const double r = ridged(x / 30, y / 30, 5, seed);
  const double strata = fractal(x / 4, y / 12, 3, seed + 1);
  Rgb rock = mix(rgb255(112, 102, 88), rgb255(158, 146, 118), strata);
  const double moss = fractal(x / 12, y / 12, 3, seed + 2);
  rock = mix(rock, rgb255(104, 116, 62), smoothstep(0.5, 0.7, moss) * (1 - r));
  double height = 26 * r + 3 * strata;
  const Cells boulder = cells(x / 7, y / 7, seed + 3);
  if (boulder.id > 0.75) {
    const double dome = crown(boulder, 0.35);
    rock = mix(rock, rgb255(140, 134, 122), dome > 0 ? 0.6 : 0);
    height += 3 * dome;
  }
  return {grain(rock, x, y, seed + 4, 0.3), height};
}

Ground snowMountains(double x, double y, std::uint64_t seed) {
  const double r = ridged(x / 46, y / 46, 6, seed);
  const double massif = fractal(x / 70, y / 70, 2, seed + 3);
  const double h = r * (0.5 + 0.7 * massif);
  Rgb ground = mix(rgb255(84, 112, 56), rgb255(120, 112, 100), smoothstep(0.2, 0.34, h));
  ground = mix(ground, rgb255(104, 98, 94), smoothstep(0.36, 0.46, h));
  const double snow = smoothstep(0.44, 0.52, h + 0.06 * fractal(x / 4, y / 4, 2, seed + 1));
  ground = mix(ground, rgb255(226, 230, 238), snow);
  return {grain(ground, x, y, seed + 2, 0.2), 70 * h};
}

Ground town(double x, double y, std::uint64_t seed) {
  double wx = x, wy = y;
  warp(wx, wy, 60, 8, seed);
  const double blockSize = 19;
  const double bx = wx / blockSize, by = wy / blockSize;
  const double fx = (bx - std::floor(bx)) * blockSize, fy = (by - std::floor(by)) * blockSize;
  const auto blockX = static_cast<std::int64_t>(std::floor(bx));
  const auto blockY = static_cast<std::int64_t>(std::floor(by));
  const Rgb street = grain(rgb255(150, 144, 132), x, y, seed + 1, 0.15);
  const double kerb = 1.6;
  if (fx < kerb || fy < kerb) return {street, 0};
  const double blockKind = hashUnit(blockX, blockY, seed);
  if (blockKind > 0.88) {  // a square or a park
    const double dome = crown(cells(x / 5, y / 5, seed + 2), 0.7);
    const Rgb park = dome > 0 ? rgb255(52, 90, 40) : rgb255(110, 142, 70);
    return {grain(park, x, y, seed + 3, 0.3), 3 * dome};
  }
  // Each block holds two rows of houses on long narrow lots.
  const bool alongX = hashUnit(blockX, blockY, seed + 4) > 0.5;
  const double u = alongX ? fx - kerb : fy - kerb, v = alongX ? fy - kerb : fx - kerb;
  const double inner = blockSize - kerb;
  const double lot = 4.3 + 1.6 * hashUnit(blockX, blockY, seed + 5);
  const double lotIndex = std::floor(u / lot);
  const bool farRow = v > inner / 2;
  const double lu = u - lotIndex * lot, lv = farRow ? inner - v : v;
  const double houseId = hashUnit(static_cast<std::int64_t>(lotIndex) + blockX * 17,
                                  blockY * 31 + (farRow ? 1 : 0), seed + 6);
  const double depth = 5.5 + 2.5 * houseId;
  if (lv > depth || lu > lot - 0.7) {
    const double garden = fractal(x / 3, y / 3, 2, seed + 7);
    const Rgb yard = garden > 0.55 ? rgb255(70, 104, 48) : rgb255(128, 134, 96);
    return {grain(yard, x, y, seed + 8, 0.3), garden > 0.55 ? 2.0 : 0.0};
  }
  static const std::array<Rgb, 6> roofs = {rgb255(168, 78, 52),  rgb255(140, 64, 46),
                                           rgb255(186, 104, 66), rgb255(120, 84, 70),
                                           rgb255(152, 92, 62),  rgb255(110, 100, 96)};
  const Rgb roof = grain(pick(roofs, houseId), x, y, seed + 9, 0.12);
  // A gable: the ridge runs along the street, halfway into the house.
  const double across = std::fabs(lv - depth / 2) / (depth / 2);
  const double gableSide = (lv < depth / 2) == alongX ? 1 : -1;
  const double lit = 1 + 0.28 * gableSide * (1 - across * 0.2);
  return {scale(roof, lit), 5 - 1.5 * across};
}

double riverBend(double y, double phase) {
  return 47 + 17 * std::sin(y / 19 + phase) + 5 * std::sin(y / 7.5 + 2 * phase);
}

Ground farmlandWithRiver(double x, double y, std::uint64_t seed) {
  static const std::array<Rgb, 5> crops = {rgb255(104, 142, 60), rgb255(176, 160, 90),
                                           rgb255(86, 120, 50), rgb255(150, 150, 74),
                                           rgb255(132, 100, 70)};
  double wx = x, wy = y;
  warp(wx, wy, 40, 12, seed);
  const Cells parcel = cells(wx / 32, wy / 32, seed);
  Rgb colour = pick(crops, parcel.id);
  colour = scale(colour, 0.95 + 0.08 * stripes(wx, wy, parcel.id * 7, 3));
  Ground ground{grain(colour, x, y, seed + 1, 0.2), 4};
  ground = hedgerow(ground, x, y, {parcel.nearest * 32, parcel.second * 32, 0, 0, 0}, 1.1, seed);
  const double phase = 6 * hashUnit(1, 2, seed);
  const double dx = riverBend(y, phase) - x;
  const double slope = (riverBend(y + 0.5, phase) - riverBend(y - 0.5, phase));
  const double distance = std::fabs(dx) / std::sqrt(1 + slope * slope);
  const double width = 3.2 + 0.8 * fractal(y / 10, x / 10, 2, seed + 2);
  if (distance < width) {
    const double ripple = fractal(x / 2, y / 4, 2, seed + 3);
    return {mix(rgb255(38, 82, 112), rgb255(70, 116, 136), ripple * smoothstep(0, width, distance)),
            -2};
  }
  if (distance < width + 3.5) {
    const double dome = crown(cells(x / 3.5, y / 3.5, seed + 4), 0.9);
    return {grain(rgb255(48, 82, 38), x, y, seed + 5, 0.4), 1 + 3 * dome};
  }
  return ground;
}

Ground vineyards(double x, double y, std::uint64_t seed) {
  double wx = x, wy = y;
  warp(wx, wy, 45, 10, seed);
  const Cells parcel = cells(wx / 30, wy / 30, seed);
  const double kind = hashUnit(static_cast<std::int64_t>(parcel.id * 1e6), 3, seed);
  const double slope = 12 * fractal(x / 50, y / 50, 2, seed + 1);
  Ground ground;
  if (kind < 0.55) {  // vines in rows on bare soil
    const double row = stripes(x, y, parcel.id, 3.4);
    const Rgb soil = rgb255(156, 126, 86), vine = rgb255(66, 98, 40);
    ground = {mix(soil, vine, smoothstep(0.45, 0.75, row)), slope + 1.2 * row};
  } else if (kind < 0.85) {  // an orchard: crowns on a grid over grass
    const double a = parcel.id * pi;
    const double u = x * std::cos(a) + y * std::sin(a), v = -x * std::sin(a) + y * std::cos(a);
    const double cu = u / 6 - std::floor(u / 6) - 0.5, cv = v / 6 - std::floor(v / 6) - 0.5;
    const double d = std::hypot(cu, cv) / 0.36;
    const double dome = d < 1 ? std::sqrt(1 - d * d) : 0;
    ground = {dome > 0 ? scale(rgb255(74, 112, 44), 0.7 + 0.4 * dome) : rgb255(140, 156, 82),
              slope + 3 * dome};
  } else {
    ground = {rgb255(150, 160, 84), slope};
  }
  ground.colour = grain(ground.colour, x, y, seed + 2, 0.2);
  return hedgerow(ground, x, y, {parcel.nearest * 30, parcel.second * 30, 0, 0, 0}, 0.9, seed);
}

Ground heath(double x, double y, std::uint64_t seed) {
  const double a = fractal(x / 22, y / 22, 4, seed);
  const double b = fractal(x / 8, y / 8, 3, seed + 1);
  Rgb ground = mix(rgb255(164, 142, 84), rgb255(122, 92, 92), smoothstep(0.4, 0.65, a));
  ground = mix(ground, rgb255(132, 134, 72), smoothstep(0.5, 0.8, b) * 0.6);
  double px = x, py = y;
  warp(px, py, 30, 16, seed + 2);
  const double track = std::fabs(fractal(px / 55, py / 55, 2, seed + 3) - 0.5);
  if (track < 0.01) ground = mix(ground, rgb255(194, 176, 130), 0.75);
  double height = 10 * a;
  const Cells shrub = cells(x / 6, y / 6, seed + 4);
  if (shrub.id > 0.7) {
    const double dome = crown(shrub, 0.32);
    if (dome > 0) ground = mix(ground, rgb255(74, 80, 42), 0.85);
    height += 2.5 * dome;
  }
  return {grain(ground, x, y, seed + 5, 0.3), height};
}

Ground marsh(double x, double y, std::uint64_t seed) {
  const double wet = fractal(x / 20, y / 20, 4, seed);
  const double tufts = fractal(x / 3, y / 3, 2, seed + 1);
  Rgb ground = mix(rgb255(96, 112, 58), rgb255(122, 118, 70), tufts);
  ground = mix(ground, rgb255(70, 92, 58), smoothstep(0.45, 0.6, wet));
  const double level = 0.64;
  if (wet > level) {
    const double depth = smoothstep(level, level + 0.08, wet);
    const double glint = fractal(x / 1.5, y / 6, 2, seed + 2);
    return {mix(rgb255(60, 92, 90), rgb255(30, 62, 82), depth * (0.8 + 0.2 * glint)), -2};
  }
  if (wet > level - 0.05) {  // reeds around the water
    const Rgb reeds = mix(rgb255(138, 140, 70), rgb255(90, 104, 46), tufts);
    return {grain(reeds, x, y, seed + 3, 0.4), 1.5 * tufts};
  }
  return {grain(ground, x, y, seed + 4, 0.3), 2 * tufts};
}

constexpr std::array<Landscape, 12> landscapes = {
    patchworkFields,   meadowWithHedges, denseForest,   mixedForest,
    rollingHills,      rockyHighland,    snowMountains, town,
    farmlandWithRiver, vineyards,        heath,         marsh};

// Work at twice the tile's resolution and average, so thin features and the coast are smooth.
constexpr int fine = 2;
constexpr int fineSize = tileSize * fine;

// The coast: distance from the tile's border (rounded at the corners, so the corners stay
// sea) minus a noisy setback; land where positive. The setback stays below six pixels, so
// land always fills the square 6..88, and dips below zero along parts of each side, where the
// land runs off the tile and meets its neighbour's.
double coastDistance(double x, double y, std::uint64_t seed) {
  const double toLeft = x, toTop = y, toRight = tileSize - x, toBottom = tileSize - y;
  const double straight = std::fmin(std::fmin(toLeft, toTop), std::fmin(toRight, toBottom));
  const double radius = 7.5, far = tileSize - radius;
  const double cx = std::fmin(std::fmax(x, radius), far), cy = std::fmin(std::fmax(y, radius), far);
  const bool inCorner = (x < radius || x > far) && (y < radius || y > far);
  const double edge = inCorner ? radius - std::hypot(x - cx, y - cy) : straight;
  const double corner = std::hypot(std::fmin(toLeft, toRight), std::fmin(toTop, toBottom));
  const double lowest = 0.5 - 0.25 * (corner - 10);
  // Each side gets one stretch where the land surely runs off it.
  const std::int64_t side = straight == toLeft    ? 0
                            : straight == toTop   ? 1
                            : straight == toRight ? 2
                                                  : 3;
  const double along = side % 2 == 0 ? y : x;
  const double centre = 25 + 45 * hashUnit(side, 0, seed);
  const double dip = 7 * std::exp(-(along - centre) * (along - centre) / 64);
  const double setback = -10 + 21 * fractal(x / 17, y / 17, 4, seed) - dip;
  return edge - std::fmin(std::fmax(setback, lowest), 5.0);
}

Picture tileSheetWith(const std::array<std::vector<Rgb>, 12>& tiles,
                      const std::array<std::vector<double>, 12>& alphas) {
  Picture sheet(320, 620);
  for (std::size_t n = 0; n < 12; ++n) {
    const int left = 3 + 100 * static_cast<int>(n % 3), top = 3 + 100 * static_cast<int>(n / 3);
    for (int y = 0; y < tileSize; ++y) {
      for (int x = 0; x < tileSize; ++x) {
        const auto i = static_cast<std::size_t>(y * tileSize + x);
        sheet.set(left + x, top + y, tiles[n][i], alphas[n][i]);
      }
    }
  }
  return sheet;
}

// Lights a ground with the sun in the north-west, puts the dark outline along the coast and
// averages the fine samples down to tile pixels.
void renderTile(Landscape landscape, std::uint64_t seed, std::vector<Rgb>& colours,
                std::vector<double>& alphas) {
  std::vector<Ground> grounds(static_cast<std::size_t>((fineSize + 2) * (fineSize + 2)));
  const auto at = [](int fx, int fy) {
    return static_cast<std::size_t>((fy + 1) * (fineSize + 2) + fx + 1);
  };
  for (int fy = -1; fy <= fineSize; ++fy) {
    for (int fx = -1; fx <= fineSize; ++fx) {
      grounds[at(fx, fy)] = landscape((fx + 0.5) / fine, (fy + 0.5) / fine, seed);
    }
  }
  const double lx = -0.55, ly = -0.55, lz = 0.63;
  colours.assign(tileSize * tileSize, Rgb{});
  alphas.assign(tileSize * tileSize, 0);
  for (int fy = 0; fy < fineSize; ++fy) {
    for (int fx = 0; fx < fineSize; ++fx) {
      const double x = (fx + 0.5) / fine, y = (fy + 0.5) / fine;
      const double gx =
          (grounds[at(fx + 1, fy)].height - grounds[at(fx - 1, fy)].height) * fine / 2;
      const double gy =
          (grounds[at(fx, fy + 1)].height - grounds[at(fx, fy - 1)].height) * fine / 2;
      const double length = std::sqrt(gx * gx + gy * gy + 1);
      const double sun = (-gx * lx - gy * ly + lz) / length;
      Rgb colour = scale(grounds[at(fx, fy)].colour, 0.35 + 0.65 * clamp01(sun) / lz);
      const double coast = coastDistance(x, y, seed + 1000);
      const double shore = smoothstep(0.6, 4.5, coast);
      colour = mix(rgb255(26, 30, 22), colour, 0.25 + 0.75 * shore);
      colour = mix(rgb255(16, 18, 14), colour, smoothstep(0.9, 1.7, coast));
      // Where the land runs off the tile, a fainter line stands for the coast it would have
      // alone and for a boundary between neighbours.
      const double border = std::fmin(std::fmin(x, y), std::fmin(tileSize - x, tileSize - y));
      colour = mix(colour, rgb255(22, 26, 18), 0.55 * (1 - smoothstep(0.6, 1.4, border)));
      const auto i = static_cast<std::size_t>((fy / fine) * tileSize + fx / fine);
      const double alpha = clamp01(coast * fine);
      colours[i] = add(colours[i], scale(colour, alpha / (fine * fine)));
      alphas[i] += alpha / (fine * fine);
    }
  }
  for (std::size_t i = 0; i < colours.size(); ++i) {
    // Colours were summed weighted by coverage; undo that so the edge keeps the outline's colour.
    if (alphas[i] > 0) colours[i] = scale(colours[i], 1 / alphas[i]);
    // A cell's tile is blended again over itself at every redraw; only an alpha of 0 or 255
    // leaves the picture unchanged by that, so the coast is cut at half coverage.
    alphas[i] = alphas[i] >= 0.5 ? 1 : 0;
  }
}

}  // namespace

Picture makeTileSheet() {
  std::array<std::vector<Rgb>, 12> tiles;
  std::array<std::vector<double>, 12> alphas;
  for (std::size_t n = 0; n < landscapes.size(); ++n) {
    renderTile(landscapes[n], 0x7E22A0000ULL + n * 0x1F3D5ULL, tiles[n], alphas[n]);
  }
  return tileSheetWith(tiles, alphas);
}

}  // namespace artgen
