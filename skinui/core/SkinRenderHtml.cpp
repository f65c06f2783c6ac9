// Html text of CSkinRender: a small tag language for fonts, colours, links, inline images and
// line control, laid out line by line: each line is measured first, then drawn.

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>

#include "PaintManagerUI.h"
#include "SkinRender.h"

namespace SkinUI {

namespace {

constexpr RECT kMeasureRect = {0, 0, 9999, 100};
constexpr int kDefaultTagFontSize = 10;
constexpr UINT kAlignmentFlags = kTextCenter | kTextRight | kTextVCenter | kTextBottom;

COLORREF ToColorRef(uint32_t color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

struct HtmlState {
  std::vector<TFontDataUI*> fonts;
  std::vector<uint32_t> colors;
  std::vector<int> spacings;
  bool raw = false;
  bool selected = false;
  bool inLink = false;
  int linkIndex = 0;
  std::wstring linkText;
};

// One tag at a position: "<x ...>" or "{x ...}", optionally closing ("</x>").
struct Tag {
  bool valid = false;
  bool closing = false;
  wchar_t name = 0;
  std::wstring argument;
  size_t end = 0;  // just past the closing bracket
};

Tag ReadTag(const std::wstring& text, size_t at) {
  Tag tag;
  const size_t n = text.size();
  if (at >= n || (text[at] != L'<' && text[at] != L'{')) return tag;
  size_t p = at + 1;
  if (p < n && text[p] == L'/') {
    tag.closing = true;
    ++p;
  }
  if (p + 1 >= n || text[p] < L'a' || text[p] > L'z') return tag;
  const wchar_t after = text[p + 1];
  if (after != L' ' && after != L'>' && after != L'}') return tag;
  size_t close = p + 1;
  while (close < n && text[close] != L'>' && text[close] != L'}') ++close;
  if (close >= n) return tag;
  tag.name = text[p];
  size_t argStart = p + 1;
  while (argStart < close && text[argStart] == L' ') ++argStart;
  tag.argument = text.substr(argStart, close - argStart);
  tag.end = close + 1;
  tag.valid = true;
  return tag;
}

bool IsRawEnd(const std::wstring& text, size_t at) {
  const Tag tag = ReadTag(text, at);
  return tag.valid && tag.closing && tag.name == L'r';
}

// "<{>" and "<}>" stand for braces, "{<}" and "{>}" for angle brackets.
bool ReadEscape(const std::wstring& text, size_t at, wchar_t& shown) {
  if (at + 2 >= text.size()) return false;
  const wchar_t a = text[at], b = text[at + 1], c = text[at + 2];
  if (a == L'<' && (b == L'{' || b == L'}') && c == L'>') {
    shown = b;
    return true;
  }
  if (a == L'{' && (b == L'<' || b == L'>') && c == L'}') {
    shown = b;
    return true;
  }
  return false;
}

std::vector<std::wstring> SplitWords(const std::wstring& text) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == L' ') ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != L' ') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

bool IsNumber(const std::wstring& word) { return !word.empty() && std::iswdigit(word[0]); }

class CHtmlLayout {
 public:
  CHtmlLayout(HDC dc, CPaintManagerUI* manager, const std::wstring& text, uint32_t color, UINT style,
              RECT* links, std::wstring* linkTexts, int capacity)
      : dc_(dc), manager_(manager), text_(text), color_(color), style_(style), links_(links),
        linkTexts_(linkTexts), capacity_(capacity) {}

  void SetHoverLink(const std::wstring& link) { hoverLink_ = link; }

  // Lays the text out in the rectangle; draws unless measuring. Returns the needed rectangle.
  RECT Run(const RECT& rect, TFontDataUI* baseFont, bool draw) {
    rect_ = rect;
    draw_ = draw;
    baseFont_ = baseFont;
    found_ = 0;
    maxX_ = rect.left;
    imageBottom_ = rect.top;
    HtmlState state;
    size_t pos = 0;
    LONG lineTop = rect.top;
    LONG lastBottom = rect.top;
    const bool single = (style_ & kTextSingleLine) != 0;
    while (pos < text_.size()) {
      HtmlState saved = state;
      LineResult measured = ProcessLine(pos, state, lineTop, 0, false);
      state = saved;
      LineResult placed = ProcessLine(pos, state, lineTop, measured.height, true);
      lastBottom = lineTop + measured.height;
      pos = placed.end;
      if (placed.stop || single) break;
      lineTop += measured.height;
      if (lineTop >= rect_.bottom) break;
    }
    RECT needed = rect;
    needed.bottom = std::max(lastBottom, imageBottom_);
    needed.right = std::min(rect.right, maxX_);
    return needed;
  }

  int GetLinkCount() const { return found_; }

 private:
  struct LineResult {
    size_t end = 0;
    LONG height = 0;
    bool stop = false;  // nothing more to lay out
  };

  TFontDataUI* CurrentFont(const HtmlState& state) const {
    return state.fonts.empty() ? baseFont_ : state.fonts.back();
  }
  uint32_t CurrentColor(const HtmlState& state) const {
    return state.colors.empty() ? color_ : state.colors.back();
  }
  static LONG FontHeight(const TFontDataUI* font) {
    return font->metrics.tmHeight + font->metrics.tmExternalLeading;
  }

  TFontDataUI* Variant(const TFontDataUI* font, bool bold, bool underline, bool italic) {
    HFONT handle = manager_->FindFont(font->faceName, font->size, bold, underline, italic);
    if (handle == nullptr)
      handle = manager_->AddFont(manager_->AllocateGeneratedFontId(), font->faceName, font->size, bold, underline,
                                 italic);
    return handle != nullptr ? manager_->GetFontInfo(handle) : nullptr;
  }

  TFontDataUI* FontFromTag(const std::wstring& argument) {
    const std::vector<std::wstring> words = SplitWords(argument);
    if (words.empty()) return nullptr;
    if (IsNumber(words[0])) return manager_->GetFontInfo(static_cast<int>(std::wcstol(words[0].c_str(), nullptr, 10)));
    int size = kDefaultTagFontSize;
    size_t rest = 1;
    if (words.size() > 1 && IsNumber(words[1])) {
      size = static_cast<int>(std::wcstol(words[1].c_str(), nullptr, 10));
      rest = 2;
    }
    std::wstring flags;
    for (size_t i = rest; i < words.size(); ++i) flags += words[i] + L" ";
    std::transform(flags.begin(), flags.end(), flags.begin(), [](wchar_t c) { return std::towlower(c); });
    const bool bold = flags.find(L"bold") != std::wstring::npos;
    const bool underline = flags.find(L"underline") != std::wstring::npos;
    const bool italic = flags.find(L"italic") != std::wstring::npos;
    HFONT handle = manager_->FindFont(words[0], size, bold, underline, italic);
    if (handle == nullptr)
      handle = manager_->AddFont(manager_->AllocateGeneratedFontId(), words[0], size, bold, underline, italic);
    return handle != nullptr ? manager_->GetFontInfo(handle) : nullptr;
  }

  struct InlineImage {
    const TImageDataUI* image = nullptr;
    RECT part = {};
  };

  InlineImage ImageFromTag(const std::wstring& argument) {
    InlineImage result;
    std::wstring name;
    std::wstring resourceType;
    std::wstring numbers;
    if (argument.find(L"file='") != std::wstring::npos || argument.find(L"res='") != std::wstring::npos) {
      const size_t lastQuote = argument.rfind(L'\'');
      TImageDrawUI info;
      CSkinRender::ParseImageDescriptor(info, argument.substr(0, lastQuote + 1), L"", nullptr);
      name = info.imageName;
      resourceType = info.resourceType;
      numbers = argument.substr(lastQuote + 1);
    } else {
      const std::vector<std::wstring> words = SplitWords(argument);
      if (words.empty()) return result;
      name = words[0];
      for (size_t i = 1; i < words.size(); ++i) numbers += words[i] + L" ";
    }
    const std::vector<std::wstring> values = SplitWords(numbers);
    int count = values.size() > 0 ? static_cast<int>(std::wcstol(values[0].c_str(), nullptr, 10)) : 1;
    if (count < 1) count = 1;
    int index = values.size() > 1 ? static_cast<int>(std::wcstol(values[1].c_str(), nullptr, 10)) : 0;
    if (index < 0 || index >= count) index = 0;
    result.image = manager_->GetOrLoadImage(name, resourceType);
    if (result.image == nullptr) return result;
    const LONG frame = result.image->width / count;
    result.part = RECT{frame * index, 0, frame * (index + 1), result.image->height};
    return result;
  }

  LONG Measure(TFontDataUI* font, const wchar_t* chars, int count) {
    SIZE size = {};
    CSelectObjectGuard select(dc_, font->font.get());
    ::GetTextExtentPoint32W(dc_, chars, count, &size);
    return size.cx;
  }

  void DrawRun(const HtmlState& state, TFontDataUI* font, const std::wstring& run, LONG x, LONG width,
               LONG lineTop, LONG lineHeight) {
    if (!draw_ || run.empty()) return;
    CSelectObjectGuard select(dc_, font->font.get());
    ::SetTextColor(dc_, ToColorRef(CurrentColor(state)));
    ::SetBkMode(dc_, state.selected ? OPAQUE : TRANSPARENT);
    const LONG top = lineTop + lineHeight - FontHeight(font);
    RECT where{x, top, x + width, lineTop + lineHeight};
    UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    if (!(style_ & kTextSingleLine) && (style_ & (kTextCenter | kTextRight))) {
      where.left = rect_.left;
      where.right = rect_.right;
      flags |= (style_ & kTextCenter) ? DT_CENTER : DT_RIGHT;
    }
    ::DrawTextW(dc_, run.c_str(), static_cast<int>(run.size()), &where, flags);
  }

  void OpenLink(HtmlState& state, LONG x, bool final) {
    state.inLink = true;
    linkStart_ = x;
    if (final && state.linkIndex < capacity_ && linkTexts_ != nullptr) linkTexts_[state.linkIndex] = state.linkText;
  }

  void CloseLink(HtmlState& state, LONG x, LONG lineTop, LONG lineHeight, bool final) {
    if (!state.inLink) return;
    if (final && state.linkIndex < capacity_ && links_ != nullptr) {
      links_[state.linkIndex] = RECT{linkStart_, lineTop, x, lineTop + lineHeight};
      found_ = std::max(found_, state.linkIndex + 1);
    }
    ++state.linkIndex;
    state.inLink = false;
  }

  // One line from pos: measuring (final false) finds its height; the final pass places runs,
  // links and images with the measured height.
  LineResult ProcessLine(size_t pos, HtmlState& state, LONG lineTop, LONG measuredHeight, bool final) {
    const size_t n = text_.size();
    const bool single = (style_ & kTextSingleLine) != 0;
    LONG x = rect_.left;
    LONG height = FontHeight(CurrentFont(state));
    if (!state.spacings.empty()) height = std::max(height, state.spacings.back() + FontHeight(CurrentFont(state)));
    const LONG lineHeight = final ? measuredHeight : 0;
    if (state.inLink) OpenLink(state, x, final);
    LineResult result;
    auto finish = [&](size_t end, bool stop) {
      if (state.inLink) {
        CloseLink(state, x, lineTop, lineHeight, final);
        state.inLink = true;  // reopened on the next line with the same text
      }
      if (final) maxX_ = std::max(maxX_, x);
      result.end = end;
      result.height = height;
      result.stop = stop || end >= n;
      return result;
    };
    auto useFont = [&](TFontDataUI* font) {
      if (font != nullptr) height = std::max(height, FontHeight(font));
    };

    // After an end ellipsis the rest of the line is hidden: its tags still count, its text and
    // images do not show, and the next line starts after the line feed.
    bool clipped = false;
    LONG clippedX = 0;
    while (pos < n) {
      const wchar_t ch = text_[pos];
      if (ch == L'\n') return finish(pos + 1, false);
      if (clipped) {
        const Tag tag = (ch == L'<' || ch == L'{') ? ReadTag(text_, pos) : Tag{};
        const bool image = !tag.closing && tag.name == L'i' && !tag.argument.empty();
        if (tag.valid && !image && (!state.raw || (tag.closing && tag.name == L'r'))) {
          bool lineBreak = false;
          HandleTag(tag, state, x, lineTop, lineHeight, height, final, lineBreak);
          pos = tag.end;
          x = clippedX;
          if (lineBreak) return finish(pos, false);
        } else {
          pos = tag.valid ? tag.end : pos + 1;
        }
        continue;
      }

      wchar_t escaped = 0;
      if (!state.raw && (ch == L'<' || ch == L'{') && ReadEscape(text_, pos, escaped)) {
        const std::wstring shown(1, escaped);
        if (FitRun(CurrentFont(state), shown, x) == 0) return finish(pos, single);
        PlaceRun(state, shown, x, lineTop, lineHeight, height, final);
        pos += 3;
        continue;
      }
      if (ch == L'<' || ch == L'{') {
        const Tag tag = ReadTag(text_, pos);
        if (tag.valid && (!state.raw || (tag.closing && tag.name == L'r'))) {
          bool lineBreak = false;
          if (!HandleTag(tag, state, x, lineTop, lineHeight, height, final, lineBreak)) {
            return finish(pos, false);  // the image goes to the next line
          }
          pos = tag.end;
          if (lineBreak) return finish(pos, false);
          useFont(CurrentFont(state));
          continue;
        }
      }

      // A text run: one space, or characters up to the next space, tag start or line feed.
      size_t end = pos + 1;
      if (ch != L' ') {
        while (end < n) {
          const wchar_t c = text_[end];
          if (c == L' ' || c == L'\n') break;
          if (state.raw ? IsRawEnd(text_, end) : (c == L'<' || c == L'{')) break;
          ++end;
        }
      }
      TFontDataUI* font = CurrentFont(state);
      const std::wstring run = text_.substr(pos, end - pos);
      const size_t fitted = FitRun(font, run, x);
      if (fitted == run.size()) {
        PlaceRun(state, run, x, lineTop, lineHeight, height, final);
        pos = end;
        continue;
      }
      // The run does not fit: cut it and end the line.
      size_t cut = fitted;
      if (style_ & kTextWordBreak) {
        size_t breakAt = 0;
        for (size_t i = 0; i < fitted; ++i)
          if (run[i] == L' ' || !std::iswalpha(run[i])) breakAt = i + 1;
        if (breakAt > 0 || x > rect_.left) cut = breakAt;
      }
      if (style_ & kTextEndEllipsis) {
        cut = cut > 2 ? cut - 2 : 0;
        PlaceRun(state, run.substr(0, cut) + L"...", x, lineTop, lineHeight, height, final);
        if (single) return finish(pos + cut, true);
        clipped = true;
        clippedX = x;
        pos = end;
        continue;
      } else {
        PlaceRun(state, run.substr(0, cut), x, lineTop, lineHeight, height, final);
      }
      return finish(pos + cut, single);
    }
    return finish(pos, true);
  }

  // How many leading characters of the run fit before the right edge. The width is estimated
  // from the widest character until the estimate reaches the edge, then measured exactly.
  size_t FitRun(TFontDataUI* font, const std::wstring& run, LONG x) {
    const LONG widest = std::max<LONG>(font->metrics.tmMaxCharWidth, 1);
    for (size_t count = 1; count <= run.size(); ++count) {
      if (x + widest * static_cast<LONG>(count) < rect_.right) continue;
      if (x + Measure(font, run.c_str(), static_cast<int>(count)) > rect_.right) {
        const size_t keep = count - 1;
        return keep == 0 && x == rect_.left ? 1 : keep;
      }
    }
    return run.size();
  }

  // Places a run at x.
  void PlaceRun(HtmlState& state, const std::wstring& run, LONG& x, LONG lineTop, LONG lineHeight, LONG& height,
                bool final) {
    if (run.empty()) return;
    TFontDataUI* font = CurrentFont(state);
    height = std::max(height, FontHeight(font));
    const LONG width = Measure(font, run.c_str(), static_cast<int>(run.size()));
    if (final) DrawRun(state, font, run, x, width, lineTop, lineHeight);
    x += width;
  }

  // False when an inline image must go to the next line first.
  bool HandleTag(const Tag& tag, HtmlState& state, LONG& x, LONG lineTop, LONG lineHeight, LONG& height, bool final,
                 bool& lineBreak) {
    const bool single = (style_ & kTextSingleLine) != 0;
    TFontDataUI* font = CurrentFont(state);
    auto pushFont = [&](TFontDataUI* next) {
      if (next != nullptr) state.fonts.push_back(next);
    };
    auto popFont = [&] {
      if (!state.fonts.empty()) state.fonts.pop_back();
    };
    if (tag.closing) {
      switch (tag.name) {
        case L'a':
          CloseLink(state, x, lineTop, lineHeight, final);
          if (!state.colors.empty()) state.colors.pop_back();
          popFont();
          break;
        case L'i': {
          ABC abc = {};
          CSelectObjectGuard select(dc_, font->font.get());
          if (::GetCharABCWidthsW(dc_, L' ', L' ', &abc)) x += abc.abcC / 2;
          popFont();
          break;
        }
        case L'b':
        case L'f':
        case L'u':
          popFont();
          break;
        case L'c':
          if (!state.colors.empty()) state.colors.pop_back();
          break;
        case L'p':
          if (!state.spacings.empty()) state.spacings.pop_back();
          if (x > rect_.left) lineBreak = true;
          break;
        case L'r':
          state.raw = false;
          break;
        case L's':
          state.selected = !state.selected;
          break;
        default:
          break;
      }
      return true;
    }
    switch (tag.name) {
      case L'a': {
        state.linkText = tag.argument;
        OpenLink(state, x, final);
        uint32_t linkColor = color_ != 0 ? color_ : manager_->GetDefaultLinkFontColor();
        if (!hoverLink_.empty() && hoverLink_ == tag.argument) linkColor = manager_->GetDefaultLinkHoverFontColor();
        state.colors.push_back(linkColor);
        TFontDataUI* underlined = font->underline ? font : Variant(font, font->bold, true, font->italic);
        state.fonts.push_back(underlined != nullptr ? underlined : font);
        break;
      }
      case L'b':
        if (!font->bold) pushFont(Variant(font, true, font->underline, font->italic));
        break;
      case L'c': {
        const wchar_t* digits = tag.argument.c_str();
        if (*digits == L'#') ++digits;
        long long value = std::wcstoll(digits, nullptr, 16);
        value = std::min<long long>(std::max<long long>(value, INT32_MIN), INT32_MAX);
        state.colors.push_back(static_cast<uint32_t>(static_cast<int32_t>(value)));
        break;
      }
      case L'f':
        pushFont(FontFromTag(tag.argument));
        break;
      case L'i':
        if (tag.argument.empty()) {
          pushFont(Variant(font, font->bold, font->underline, true));
        } else {
          const InlineImage image = ImageFromTag(tag.argument);
          if (image.image == nullptr) break;
          const LONG w = image.part.right - image.part.left;
          const LONG h = image.part.bottom - image.part.top;
          if (!single && x > rect_.left && x + w > rect_.right) return false;
          height = std::max(height, h);
          if (final) {
            const LONG top = h < lineHeight ? lineTop + (lineHeight - h) / 2 : lineTop + lineHeight - h;
            imageBottom_ = std::max(imageBottom_, top + h);
            if (draw_) {
              CSkinRender::DrawNineGrid(dc_, image.image->bitmap.get(), RECT{x, top, x + w, top + h}, rect_,
                                        image.part, RECT{}, image.image->alpha);
            }
          }
          x += w;
        }
        break;
      case L'n':
        if (!single) lineBreak = true;
        break;
      case L'p': {
        if (x > rect_.left) lineBreak = true;
        const int spacing = static_cast<int>(std::wcstol(tag.argument.c_str(), nullptr, 10));
        state.spacings.push_back(spacing);
        if (!lineBreak) height = std::max(height, spacing + FontHeight(font));
        break;
      }
      case L'r':
        state.raw = true;
        break;
      case L's':
        state.selected = !state.selected;
        break;
      case L'u':
        if (!font->underline) pushFont(Variant(font, font->bold, true, font->italic));
        break;
      case L'x':
        x += std::wcstol(tag.argument.c_str(), nullptr, 10);
        break;
      case L'y':
        height = std::max<LONG>(height, std::wcstol(tag.argument.c_str(), nullptr, 10));
        break;
      default:
        break;
    }
    return true;
  }

  HDC dc_;
  CPaintManagerUI* manager_;
  const std::wstring& text_;
  uint32_t color_;
  UINT style_;
  RECT* links_;
  std::wstring* linkTexts_;
  int capacity_;
  std::wstring hoverLink_;
  RECT rect_ = {};
  bool draw_ = false;
  TFontDataUI* baseFont_ = nullptr;
  int found_ = 0;
  LONG maxX_ = 0;
  LONG imageBottom_ = 0;
  LONG linkStart_ = 0;
};

}  // namespace

void CSkinRender::DrawHtmlText(HDC dc, CPaintManagerUI* manager, RECT& rect, const std::wstring& text,
                               uint32_t color, RECT* links, std::wstring* linkTexts, int* linkCount, int fontId,
                               UINT style) {
  const int capacity = linkCount != nullptr ? std::max(*linkCount, 0) : 0;
  if (linkCount != nullptr) *linkCount = 0;
  if (dc == nullptr || manager == nullptr || text.empty() || ::IsRectEmpty(&rect)) return;
  const bool calc = (style & kTextCalcRect) != 0;

  TFontDataUI* baseFont = manager->GetFontInfo(fontId);
  if (baseFont == nullptr || !baseFont->font) return;
  CSelectObjectGuard select(dc, baseFont->font.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldText = ::SetTextColor(dc, ToColorRef(color));
  const COLORREF oldBack = ::SetBkColor(dc, ToColorRef(manager->GetDefaultSelectedBkColor()));

  unique_hrgn oldClip;
  bool hadClip = false;
  if (!calc) {
    oldClip.reset(::CreateRectRgn(0, 0, 0, 0));
    hadClip = ::GetClipRgn(dc, oldClip.get()) == 1;
    unique_hrgn clip(::CreateRectRgnIndirect(&rect));
    ::ExtSelectClipRgn(dc, clip.get(), RGN_AND);
  }

  RECT area = rect;
  if (!calc && (style & kAlignmentFlags)) {
    CHtmlLayout measure(dc, manager, text, color, style | kTextCalcRect, nullptr, nullptr, 0);
    const RECT needed = measure.Run(kMeasureRect, baseFont, false);
    const LONG width = needed.right - needed.left;
    const LONG height = needed.bottom - needed.top;
    if (style & kTextSingleLine) {
      if (style & kTextCenter) {
        area.left += (area.right - area.left - width) / 2;
        area.right = area.left + width;
      } else if (style & kTextRight) {
        area.left = area.right - width;
      }
    }
    if (style & kTextVCenter) {
      area.top += (area.bottom - area.top - height) / 2;
      area.bottom = area.top + height;
    } else if (style & kTextBottom) {
      area.top = area.bottom - height;
    }
  }

  CHtmlLayout layout(dc, manager, text, color, style, links, linkTexts, capacity);
  if (links != nullptr && linkTexts != nullptr) {
    const POINT mouse = manager->GetMousePos();
    for (int i = 0; i < capacity; ++i) {
      if (::PtInRect(&links[i], mouse)) {
        layout.SetHoverLink(linkTexts[i]);
        break;
      }
    }
  }
  const RECT needed = layout.Run(area, baseFont, !calc);
  if (linkCount != nullptr) *linkCount = layout.GetLinkCount();
  if (calc) {
    rect.bottom = needed.bottom;
    rect.right = needed.right;
  } else {
    ::SelectClipRgn(dc, hadClip ? oldClip.get() : nullptr);
  }
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
  ::SetBkMode(dc, oldMode);
}

std::wstring CSkinRender::HtmlPlainText(const std::wstring& text) {
  std::wstring plain;
  bool raw = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const wchar_t ch = text[pos];
    wchar_t escaped = 0;
    if (!raw && (ch == L'<' || ch == L'{') && ReadEscape(text, pos, escaped)) {
      plain += escaped;
      pos += 3;
      continue;
    }
    const Tag tag = (ch == L'<' || ch == L'{') ? ReadTag(text, pos) : Tag{};
    if (tag.valid && (!raw || (tag.closing && tag.name == L'r'))) {
      if (tag.name == L'r') raw = !tag.closing;
      if (tag.name == L'n') plain += L' ';
      pos = tag.end;
      continue;
    }
    plain += ch == L'\n' ? L' ' : ch;
    ++pos;
  }
  return plain;
}

}  // namespace SkinUI
