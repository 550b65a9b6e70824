// Text and plain rectangles on the back buffer. Fonts are found by face name through
// fontconfig and opened with SDL_ttf; opened fonts and rendered texts are cached, because
// the game reloads its small font at a new size several times in every frame.
#include "engine/Drawing.hpp"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <list>
#include <map>
#include <thread>
#include <tuple>
#include <unordered_map>

#include "engine/Text.hpp"
#include "engine/VideoInternal.hpp"

namespace qm {
namespace {

constexpr int kMaxFontSlots = 4096;
constexpr int kFontSlotStep = 16;
constexpr size_t kMaxOpenFonts = 48;
constexpr size_t kMaxTextTextures = 1024;
constexpr int64_t kMaxTextTextureBytes = int64_t{64} << 20;
constexpr size_t kMaxRememberedWidths = 8192;
constexpr int kMaxFontPixels = 2000;
// The platform's system font: a plain sans face with characters 13 pixels high.
constexpr const char* kSystemFace = "sans-serif";
constexpr int kSystemFontPixels = 13;
constexpr int64_t kSystemFontHandle = -1;

struct FontFile {
  std::string path;
  int index = 0;
};

struct OpenFont {
  TTF_Font* font = nullptr;
  uint64_t lastUse = 0;
};

struct TextKey {
  int64_t font;
  std::string text;
  uint32_t front;
  uint32_t back;  // 0 for transparent text
  bool transparent;
  bool operator==(const TextKey&) const = default;
};

struct TextKeyHash {
  size_t operator()(const TextKey& k) const {
    size_t h = std::hash<std::string>()(k.text);
    h ^= std::hash<int64_t>()(k.font) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    h ^= (uint64_t{k.front} << 32 | k.back) * 0x100000001b3ull + (k.transparent ? 1 : 0);
    return h;
  }
};

struct TextPicture {
  TextKey key;
  SDL_Texture* texture = nullptr;
  int width = 0;
  int height = 0;
};

struct DrawingContext {
  bool open = false;
  int mode = 0;
  int64_t font = kSystemFontHandle;
  uint32_t back = 0;
};

struct DrawingState {
  bool ttfStarted = false;
  std::map<std::string, FontFile> faces;                         // face name -> font file
  std::map<std::tuple<std::string, int, int>, int64_t> fontIds;  // (file, index, pixels) -> handle
  std::map<int64_t, OpenFont> fonts;                             // handle -> open font
  int64_t nextFontId = 1;
  uint64_t useClock = 0;
  std::vector<int64_t> slots;       // font slot -> handle, 0 empty
  int64_t systemFont = 0;           // handle behind the system font
  std::list<TextPicture> pictures;  // most recently used first
  std::unordered_map<TextKey, std::list<TextPicture>::iterator, TextKeyHash> pictureIndex;
  int64_t pictureBytes = 0;
  std::unordered_map<TextKey, int, TextKeyHash> widths;  // colours left 0
  DrawingContext context;
  uint64_t glyphRenders = 0;
};

DrawingState& Drawing() {
  // Never destroyed: pictures and fonts stay valid until the process ends.
  static auto* state = new DrawingState();
  return *state;
}

// At program end every open font is closed and the font libraries let go of their caches,
// so a run under the leak checker ends clean.
void CloseFontsAtExit() {
  DrawingState& d = Drawing();
  for (auto& [id, open] : d.fonts) TTF_CloseFont(open.font);
  d.fonts.clear();
  d.fontIds.clear();
  d.slots.clear();
  d.systemFont = 0;
  if (d.ttfStarted) TTF_Quit();
  d.ttfStarted = false;
  FcFini();
}

bool StartTtf() {
  DrawingState& d = Drawing();
  static bool exitHookSet = false;
  if (!exitHookSet) {
    exitHookSet = true;
    std::atexit(CloseFontsAtExit);
  }
  if (!d.ttfStarted) d.ttfStarted = TTF_Init() == 0;
  return d.ttfStarted;
}

// Asks fontconfig for the installed font closest to the face name; a missing face is
// replaced by its best match, as the platform's font mapper does.
bool FindFontFile(const std::string& face, FontFile& file) {
  DrawingState& d = Drawing();
  auto known = d.faces.find(face);
  if (known != d.faces.end()) {
    file = known->second;
    return true;
  }
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  std::string utf8 = Cp1252ToUtf8(face);
  if (!utf8.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* path = nullptr;
  int index = 0;
  bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr;
  if (found) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    file = FontFile{reinterpret_cast<const char*>(path), index};
    d.faces[face] = file;
  }
  FcPatternDestroy(match);
  return found;
}

void ForgetPicturesOf(int64_t font) {
  DrawingState& d = Drawing();
  for (auto it = d.pictures.begin(); it != d.pictures.end();) {
    if (it->key.font == font) {
      if (it->texture != nullptr) SDL_DestroyTexture(it->texture);
      d.pictureBytes -= int64_t{it->width} * it->height * 4;
      d.pictureIndex.erase(it->key);
      it = d.pictures.erase(it);
    } else {
      ++it;
    }
  }
  std::erase_if(d.widths, [font](const auto& entry) { return entry.first.font == font; });
}

bool FontInUse(int64_t id) {
  DrawingState& d = Drawing();
  return id == d.systemFont || id == d.context.font ||
         std::find(d.slots.begin(), d.slots.end(), id) != d.slots.end();
}

// Closes the least recently used fonts that no slot holds once too many are open.
void TrimOpenFonts() {
  DrawingState& d = Drawing();
  while (d.fonts.size() > kMaxOpenFonts) {
    int64_t oldest = 0;
    uint64_t oldestUse = UINT64_MAX;
    for (const auto& [id, open] : d.fonts) {
      if (!FontInUse(id) && open.lastUse < oldestUse) {
        oldest = id;
        oldestUse = open.lastUse;
      }
    }
    if (oldest == 0) return;
    ForgetPicturesOf(oldest);
    TTF_CloseFont(d.fonts[oldest].font);
    d.fonts.erase(oldest);
    std::erase_if(d.fontIds, [oldest](const auto& entry) { return entry.second == oldest; });
  }
}

// The handle of the face at that character height, opening the font only the first time.
int64_t OpenFontAt(const std::string& face, int pixels) {
  DrawingState& d = Drawing();
  FontFile file;
  if (!StartTtf() || !FindFontFile(face, file)) return 0;
  auto key = std::make_tuple(file.path, file.index, pixels);
  auto known = d.fontIds.find(key);
  if (known != d.fontIds.end()) {
    d.fonts[known->second].lastUse = ++d.useClock;
    return known->second;
  }
  // At 72 dpi a size in points is a size in pixels: the em square, i.e. the character
  // height without internal leading.
  TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
  if (font == nullptr) return 0;
  int64_t id = d.nextFontId++;
  d.fonts[id] = OpenFont{font, ++d.useClock};
  d.fontIds[key] = id;
  return id;
}

TTF_Font* FontOf(int64_t handle) {
  DrawingState& d = Drawing();
  if (handle == kSystemFontHandle) {
    if (d.systemFont == 0 || d.fonts.find(d.systemFont) == d.fonts.end()) {
      d.systemFont = OpenFontAt(kSystemFace, kSystemFontPixels);
    }
    handle = d.systemFont;
  }
  auto it = d.fonts.find(handle);
  return it != d.fonts.end() ? it->second.font : nullptr;
}

void EvictPictures() {
  DrawingState& d = Drawing();
  while (!d.pictures.empty() &&
         (d.pictures.size() > kMaxTextTextures || d.pictureBytes > kMaxTextTextureBytes)) {
    TextPicture& last = d.pictures.back();
    if (last.texture != nullptr) SDL_DestroyTexture(last.texture);
    d.pictureBytes -= int64_t{last.width} * last.height * 4;
    d.pictureIndex.erase(last.key);
    d.pictures.pop_back();
  }
}

int MeasureText(int64_t handle, const std::string& text) {
  DrawingState& d = Drawing();
  TextKey key{handle, text, 0, 0, false};
  auto known = d.widths.find(key);
  if (known != d.widths.end()) return known->second;
  TTF_Font* font = FontOf(handle);
  if (font == nullptr) return 0;
  int width = 0;
  int height = 0;
  if (TTF_SizeUTF8(font, Cp1252ToUtf8(text).c_str(), &width, &height) != 0) width = 0;
  if (d.widths.size() >= kMaxRememberedWidths) d.widths.clear();
  d.widths[key] = width;
  return width;
}

// The rendered text for these colours, rendering it only when it is not cached.
const TextPicture* PictureOf(const TextKey& key) {
  DrawingState& d = Drawing();
  auto known = d.pictureIndex.find(key);
  if (known != d.pictureIndex.end()) {
    d.pictures.splice(d.pictures.begin(), d.pictures, known->second);
    return &d.pictures.front();
  }
  TTF_Font* font = FontOf(key.font);
  SDL_Renderer* renderer = video::State().renderer;
  if (font == nullptr || renderer == nullptr) return nullptr;
  std::string utf8 = Cp1252ToUtf8(key.text);
  SDL_Color front = video::ColourFromBgr(key.front);
  SDL_Surface* surface = key.transparent ? TTF_RenderUTF8_Blended(font, utf8.c_str(), front)
                                         : TTF_RenderUTF8_Shaded(font, utf8.c_str(), front,
                                                                 video::ColourFromBgr(key.back));
  ++d.glyphRenders;
  if (surface == nullptr) return nullptr;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
  TextPicture picture{key, texture, surface->w, surface->h};
  SDL_FreeSurface(surface);
  if (texture == nullptr) return nullptr;
  SDL_SetTextureBlendMode(texture, key.transparent ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  d.pictures.push_front(picture);
  d.pictureIndex[key] = d.pictures.begin();
  d.pictureBytes += int64_t{picture.width} * picture.height * 4;
  EvictPictures();
  auto placed = d.pictureIndex.find(key);
  return placed != d.pictureIndex.end() ? &*placed->second : nullptr;
}

// A box given right to left or bottom to top covers the same pixels.
void NormaliseBox(int& x, int& y, int& width, int& height) {
  if (width < 0) {
    x += width;
    width = -width;
  }
  if (height < 0) {
    y += height;
    height = -height;
  }
}

// The inverting pen on the memory back buffer, whose software renderer has no blend mode
// for it: the pixels are turned over where they are (each once, corners of an outline too).
void InvertInFrame(int x, int y, int width, int height, bool outline) {
  video::VideoState& s = video::State();
  SDL_RenderFlush(s.renderer);
  NormaliseBox(x, y, width, height);
  auto invert = [&s](int left, int top, int w, int h) {
    SDL_Rect area{left, top, w, h};
    SDL_Rect frame{0, 0, s.frame->w, s.frame->h};
    SDL_Rect visible{};
    if (w <= 0 || h <= 0 || !SDL_IntersectRect(&area, &frame, &visible)) return;
    for (int row = visible.y; row < visible.y + visible.h; ++row) {
      auto* pixel = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s.frame->pixels) +
                                                static_cast<ptrdiff_t>(row) * s.frame->pitch) +
                    visible.x;
      for (int k = 0; k < visible.w; ++k) pixel[k] ^= 0x00FFFFFFu;
    }
  };
  if (!outline || width <= 2 || height <= 2) {
    invert(x, y, width, height);
    return;
  }
  invert(x, y, width, 1);
  invert(x, y + height - 1, width, 1);
  invert(x, y + 1, 1, height - 2);
  invert(x + width - 1, y + 1, 1, height - 2);
}

// Windows' inverting pen: each channel becomes 255 minus itself, whatever the colour.
bool UseInvertingBlend(SDL_Renderer* renderer) {
  static const SDL_BlendMode invert = SDL_ComposeCustomBlendMode(
      SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR, SDL_BLENDFACTOR_ZERO, SDL_BLENDOPERATION_ADD,
      SDL_BLENDFACTOR_ZERO, SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
  if (SDL_SetRenderDrawBlendMode(renderer, invert) != 0) return false;
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  return true;
}

}  // namespace

namespace video {

void ForgetTextTextures() {
  DrawingState& d = Drawing();
  for (TextPicture& picture : d.pictures) {
    if (picture.texture != nullptr) SDL_DestroyTexture(picture.texture);
  }
  d.pictures.clear();
  d.pictureIndex.clear();
  d.pictureBytes = 0;
}

int64_t TextTextureBytes() {
  return Drawing().pictureBytes;
}

}  // namespace video

// Fonts and the text cache belong to the first thread that draws (the game's own): rules
// played on a worker (a generated level proven by the bot) lay out an Easel and draw its
// text too, and must neither race the frame loop's fonts nor each other's.
static bool OnDrawingThread() {
  static std::atomic<std::thread::id> owner{};
  std::thread::id none;
  const std::thread::id me = std::this_thread::get_id();
  owner.compare_exchange_strong(none, me);
  return owner.load() == me;
}

int LoadFont(int slot, const std::string& face, int points) {
  if (!OnDrawingThread()) return 0;
  DrawingState& d = Drawing();
  if (slot < 0 || slot >= kMaxFontSlots) return 0;
  if (slot >= static_cast<int>(d.slots.size())) {
    d.slots.resize(static_cast<size_t>((slot / kFontSlotStep + 1) * kFontSlotStep), 0);
  }
  d.slots[slot] = 0;
  // Height in pixels at 96 dots per inch; a size of 0 or less asks for the usual size.
  double exact = std::abs(points) * 96.0 / 72.0;
  int pixels = points == 0 ? kSystemFontPixels : static_cast<int>(std::nearbyint(exact));
  pixels = std::clamp(pixels, 1, kMaxFontPixels);
  int64_t handle = OpenFontAt(face, pixels);
  if (handle == 0) return 0;
  d.slots[slot] = handle;
  TrimOpenFonts();
  return 1;
}

int64_t FontHandleOf(int slot) {
  if (!OnDrawingThread()) return 0;
  DrawingState& d = Drawing();
  if (slot < 0 || slot >= static_cast<int>(d.slots.size())) return 0;
  return d.slots[slot];
}

int BeginDrawing() {
  if (!OnDrawingThread()) return 0;
  DrawingState& d = Drawing();
  d.context = DrawingContext{};
  d.context.open = video::ScreenReady();
  return d.context.open ? 1 : 0;
}

void SetDrawingMode(int mode) {
  if (!OnDrawingThread()) return;
  Drawing().context.mode = mode;
}

void UseFont(int64_t handle) {
  if (!OnDrawingThread()) return;
  DrawingState& d = Drawing();
  // An empty slot's handle cannot be selected: the previous font stays.
  if (handle == kSystemFontHandle || (handle != 0 && d.fonts.find(handle) != d.fonts.end())) {
    d.context.font = handle;
    if (handle != kSystemFontHandle) d.fonts[handle].lastUse = ++d.useClock;
  }
}

void SetTextBackColour(uint32_t colourBgr) {
  if (!OnDrawingThread()) return;
  Drawing().context.back = colourBgr;
}

int DrawTextAt(int x, int y, const std::string& text, uint32_t front) {
  if (!OnDrawingThread()) return x;
  return DrawTextAt(x, y, text, front, Drawing().context.back);
}

int DrawTextAt(int x, int y, const std::string& text, uint32_t front, uint32_t back) {
  if (!OnDrawingThread()) return x;
  DrawingState& d = Drawing();
  if (text.empty() || !video::ScreenReady()) return x;
  video::State().frameUniform = false;
  const bool transparent = (d.context.mode & 1) != 0;
  TextKey key{d.context.font, text, front & 0xFFFFFF, transparent ? 0 : (back & 0xFFFFFF),
              transparent};
  const TextPicture* picture = PictureOf(key);
  int width = MeasureText(d.context.font, text);
  if (picture == nullptr) return x + width;
  SDL_Rect target{x, y, picture->width, picture->height};
  SDL_RenderCopy(video::State().renderer, picture->texture, nullptr, &target);
  return x + width;
}

int TextWidthOf(const std::string& text) {
  if (text.empty() || !OnDrawingThread()) return 0;
  return MeasureText(Drawing().context.font, text);
}

void DrawBox(int x, int y, int width, int height, uint32_t colourBgr) {
  if (!OnDrawingThread()) return;
  DrawingState& d = Drawing();
  if (!video::ScreenReady()) return;
  video::State().frameUniform = false;
  SDL_Renderer* renderer = video::State().renderer;
  SDL_Color c = video::ColourFromBgr(colourBgr);
  if ((d.context.mode & 2) != 0 && video::State().frame != nullptr) {
    InvertInFrame(x, y, width, height, (d.context.mode & 4) != 0);
    return;
  }
  bool inverting = (d.context.mode & 2) != 0 && UseInvertingBlend(renderer);
  if (!inverting) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
  }
  if (width == 1 && height == 1) {
    SDL_RenderDrawPoint(renderer, x, y);
  } else {
    NormaliseBox(x, y, width, height);
    SDL_Rect box{x, y, width, height};
    if (width > 0 && height > 0) {
      if ((d.context.mode & 4) != 0) {
        SDL_RenderDrawRect(renderer, &box);
      } else {
        SDL_RenderFillRect(renderer, &box);
      }
    }
  }
  if (inverting) SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void EndDrawing() {
  if (!OnDrawingThread()) return;
  Drawing().context = DrawingContext{};
}

uint64_t GlyphRenderCount() {
  return Drawing().glyphRenders;
}

}  // namespace qm
