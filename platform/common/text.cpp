// Fonts chosen through fontconfig, rendered by FreeType, drawn from a per-font glyph cache.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/common/backend.h"
#include "platform/common/surfaces.h"

namespace platform {
namespace {

struct Glyph {
  std::int64_t advance = 0;  // whole pixels
  std::int64_t left = 0;     // from the pen to the bitmap's left edge
  std::int64_t top = 0;      // from the baseline up to the bitmap's top row
  std::int64_t width = 0, rows = 0;
  std::vector<unsigned char> coverage;  // width x rows, 0 transparent .. 255 full
};

struct Font {
  FT_Face face = nullptr;
  bool embolden = false;
  std::int64_t ascent = 0;  // from the top of the character cell down to the baseline
  // The game draws the same few strings again and again; rendering each glyph once keeps a
  // text at a few microseconds.
  std::unordered_map<char32_t, Glyph> glyphs;
};

FT_Library library = nullptr;
std::array<Font, fontSlotCount> fonts;

void closeFont(Font& font) {
  if (font.face != nullptr) FT_Done_Face(font.face);
  font = {};
}

bool openLibrary() {
  if (library == nullptr && FT_Init_FreeType(&library) != 0) library = nullptr;
  return library != nullptr;
}

// The file of the installed face nearest to the request; fontconfig always offers one.
bool matchFace(FcConfig* config, std::string_view family, bool bold, std::string& file,
               int& index, bool& embolden) {
  const std::string name(family);
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* path = nullptr;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
  if (found) file = reinterpret_cast<const char*>(path);
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  // The system's configuration may ask for synthetic bold itself (and then reports the
  // weight asked for); otherwise a face lighter than demibold is thickened here.
  int weight = FC_WEIGHT_REGULAR;
  FcBool synthetic = FcFalse;
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetBool(match, FC_EMBOLDEN, 0, &synthetic);
  embolden = bold && (synthetic == FcTrue || weight < FC_WEIGHT_DEMIBOLD);
  FcPatternDestroy(match);
  return found;
}

// One fontconfig configuration serves every lookup until the fonts are released:
// loading it reads the whole font configuration and costs more than the lookups.
FcConfig* fontConfig = nullptr;

bool findFace(std::string_view family, bool bold, std::string& file, int& index, bool& embolden) {
  if (fontConfig == nullptr) fontConfig = FcInitLoadConfigAndFonts();
  return fontConfig != nullptr && matchFace(fontConfig, family, bold, file, index, embolden);
}

// Where the character cell's top lies above the baseline: the face's Windows ascent, which is
// what places a text's cell top at the y it is drawn at.
std::int64_t ascentOf(FT_Face face, std::int64_t em) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const double units = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
  const double ascent =
      os2 != nullptr && os2->version != 0xFFFF ? os2->usWinAscent : face->ascender;
  return std::llround(ascent * static_cast<double>(em) / units);
}

const Glyph& glyphOf(Font& font, char32_t codepoint) {
  auto [entry, fresh] = font.glyphs.try_emplace(codepoint);
  Glyph& glyph = entry->second;
  if (!fresh) return glyph;
  FT_Face face = font.face;
  const FT_UInt index = FT_Get_Char_Index(face, codepoint);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return glyph;
  if (font.embolden) FT_GlyphSlot_Embolden(face->glyph);
  glyph.advance = (face->glyph->advance.x + 32) >> 6;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  glyph.left = face->glyph->bitmap_left;
  glyph.top = face->glyph->bitmap_top;
  glyph.width = bitmap.width;
  glyph.rows = bitmap.rows;
  glyph.coverage.resize(static_cast<std::size_t>(glyph.width * glyph.rows));
  for (std::int64_t row = 0; row < glyph.rows; ++row) {
    const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
    std::copy(line, line + glyph.width, glyph.coverage.begin() + row * glyph.width);
  }
  return glyph;
}

// Takes the next code point of UTF-8 text; a malformed sequence (overlong, surrogate, beyond
// U+10FFFF, cut short) gives U+FFFD and resumes at the first byte that does not belong to it.
char32_t nextCodepoint(std::string_view text, std::size_t& at) {
  constexpr char32_t replacement = 0xFFFD;
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  std::size_t length = 0;
  char32_t value = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return replacement;
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (at >= text.size()) return replacement;
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < (i == 0 ? low : 0x80) || byte > (i == 0 ? high : 0xBF)) return replacement;
    value = (value << 6) | (byte & 0x3F);
    ++at;
  }
  return value;
}

Font* selectedFont() {
  const std::int64_t slot = surfaces::blockFont();
  if (slot < 0 || slot >= fontSlotCount || fonts[slot].face == nullptr) return nullptr;
  return &fonts[slot];
}

void drawGlyph(const surfaces::Target& target, const Glyph& glyph, std::int64_t x, std::int64_t y,
               std::uint32_t colour, surfaces::Box& changed) {
  surfaces::Box box;
  if (!surfaces::clip(target, x, y, glyph.width, glyph.rows, box)) return;
  for (std::int64_t row = box.top; row < box.bottom; ++row) {
    const unsigned char* coverage = &glyph.coverage[(row - y) * glyph.width + (box.left - x)];
    std::uint32_t* dst = target.pixels + row * target.width + box.left;
    for (std::int64_t column = box.left; column < box.right; ++column, ++coverage, ++dst) {
      if (*coverage != 0) *dst = surfaces::blend(colour, *dst, *coverage);
    }
  }
  if (changed.right <= changed.left) {
    changed = box;
    return;
  }
  changed.left = std::min(changed.left, box.left);
  changed.top = std::min(changed.top, box.top);
  changed.right = std::max(changed.right, box.right);
  changed.bottom = std::max(changed.bottom, box.bottom);
}

}  // namespace

bool loadFont(std::int64_t slot, std::string_view face, std::int64_t points, bool bold) {
  if (slot < 0 || slot >= fontSlotCount || points <= 0 || points > 1000) return false;
  closeFont(fonts[slot]);
  std::string file;
  int index = 0;
  Font font;
  if (!openLibrary() || !findFace(face, bold, file, index, font.embolden)) return false;
  if (FT_New_Face(library, file.c_str(), index, &font.face) != 0) return false;
  const std::int64_t em = std::llround(static_cast<double>(points) * 96.0 / 72.0);
  if (FT_Set_Pixel_Sizes(font.face, 0, static_cast<FT_UInt>(em)) != 0) {
    closeFont(font);
    return false;
  }
  font.ascent = ascentOf(font.face, em);
  fonts[slot] = std::move(font);
  return true;
}

void releaseFonts() {
  for (Font& font : fonts) closeFont(font);
  if (library != nullptr) FT_Done_FreeType(library);
  library = nullptr;
  if (fontConfig != nullptr) FcConfigDestroy(fontConfig);
  fontConfig = nullptr;
}

std::int64_t drawText(std::int64_t x, std::int64_t y, std::string_view text, Colour colour) {
  backend::noteDrawing();
  surfaces::Target target;
  if (text.empty() || !surfaces::drawTarget(target)) return x;
  backend::noteText(target.id, x, y, text, colour);
  Font* font = selectedFont();
  if (font == nullptr) return x;
  const std::uint32_t pixel = surfaces::rgbOf(colour);
  const std::int64_t baseline = y + font->ascent;
  surfaces::Box changed;
  std::int64_t pen = x;
  for (std::size_t at = 0; at < text.size();) {
    const Glyph& glyph = glyphOf(*font, nextCodepoint(text, at));
    drawGlyph(target, glyph, pen + glyph.left, baseline - glyph.top, pixel, changed);
    pen += glyph.advance;
  }
  if (changed.right > changed.left) surfaces::noteChanged(target, changed);
  return pen;
}

std::int64_t textWidth(std::string_view text) {
  Font* font = selectedFont();
  if (font == nullptr) return 0;
  std::int64_t width = 0;
  for (std::size_t at = 0; at < text.size();)
    width += glyphOf(*font, nextCodepoint(text, at)).advance;
  return width;
}

}  // namespace platform
