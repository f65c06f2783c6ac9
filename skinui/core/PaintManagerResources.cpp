// The resource side of CPaintManagerUI: fonts, images, default attribute lists, styles,
// parsed descriptors, default font and colours, display scale, private font files.

#include <algorithm>
#include <cwctype>

#include "ControlUI.h"
#include "PaintManagerUI.h"
#include "SkinFileReader.h"
#include "SkinRender.h"
#include "SkinResource.h"
#include "SkinResourceIndex.h"

namespace SkinUI {

namespace {

constexpr size_t kMaxFaceLength = 31;  // LOGFONTW holds 32 characters with the terminator
constexpr LONG kBoldWeight = FW_BOLD;
constexpr LONG kMaxWeight = 1000;
constexpr int kFirstGeneratedFontId = 30000;

constexpr uint32_t kInitialColors[] = {
    0xFFA7A6AA,  // disabled text
    0xFF000000,  // text
    0xFF0000FF,  // link text
    0xFFD3215F,  // hovered link text
    0xFFBAE4FF,  // selected background
};

LOGFONTW DefaultGuiFont() {
  LOGFONTW font = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  return font;
}

void ApplyFace(LOGFONTW& font, const std::wstring& faceName) {
  if (faceName.empty()) return;
  const size_t length = std::min(faceName.size(), kMaxFaceLength);
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
  std::copy_n(faceName.c_str(), length, font.lfFaceName);
}

void TakeMetrics(HDC dc, TFontDataUI& data) {
  if (dc == nullptr || !data.font) return;
  CSelectObjectGuard select(dc, data.font.get());
  data.hasMetrics = ::GetTextMetricsW(dc, &data.metrics) != FALSE;
}

bool FontMatches(const TFontDataUI& data, const std::wstring& faceName, int size, bool bold, bool underline,
                 bool italic) {
  return data.faceName == faceName && data.size == size && data.bold == bold && data.underline == underline &&
         data.italic == italic;
}

int KeyToInt(const std::wstring& key) { return static_cast<int>(std::wcstol(key.c_str(), nullptr, 10)); }

std::wstring IntToKey(int id) { return std::to_wstring(id); }

}  // namespace

struct CPaintManagerUI::SharedResources {
  CResourceTable<TFontDataUI> fonts;
  CResourceTable<TImageDataUI> images;
  CResourceTable<std::wstring> defaultAttributeLists;
  CResourceTable<std::wstring> styles;
  TFontDataUI defaultFont;
  uint32_t colors[kColorCount] = {};
  bool initialised = false;
  std::vector<CPaintManagerUI*> managers;  // every live manager, for ReloadImages
};

CPaintManagerUI::SharedResources& CPaintManagerUI::Shared() {
  static SharedResources shared;
  return shared;
}

CPaintManagerUI::CPaintManagerUI() : m_nextGeneratedFontId(kFirstGeneratedFontId) {
  SharedResources& shared = Shared();
  if (!shared.initialised) {
    // Before the first skinned window exists: a window takes the awareness in force when it is made.
    CDpiScaler::EnableProcessAwareness();
    const LOGFONTW font = DefaultGuiFont();
    LOGFONTW created = font;
    created.lfCharSet = DEFAULT_CHARSET;
    shared.defaultFont.font.reset(::CreateFontIndirectW(&created));
    shared.defaultFont.faceName = font.lfFaceName;
    shared.defaultFont.size = -font.lfHeight;
    shared.defaultFont.bold = font.lfWeight >= kBoldWeight;
    shared.defaultFont.underline = font.lfUnderline != 0;
    shared.defaultFont.italic = font.lfItalic != 0;
    std::copy(std::begin(kInitialColors), std::end(kInitialColors), shared.colors);
    CSkinResource::SetReloadSkinHandler(&CPaintManagerUI::ReloadImages);
    shared.initialised = true;
  }
  std::copy(std::begin(shared.colors), std::end(shared.colors), m_colors);
  shared.managers.push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
  auto& managers = Shared().managers;
  managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
}

CDpiScaler* CPaintManagerUI::GetDpiScaler() {
  if (!m_dpiScaler) m_dpiScaler = std::make_unique<CDpiScaler>();
  return m_dpiScaler.get();
}

CResourceTable<TFontDataUI>& CPaintManagerUI::FontTarget(bool shared) {
  return shared || m_bUseSharedResources ? Shared().fonts : m_fonts;
}

CResourceTable<TImageDataUI>& CPaintManagerUI::ImageTarget(bool shared) {
  return shared || m_bUseSharedResources ? Shared().images : m_images;
}

// Metrics are taken here, on first use, not when a font is added: realising every font of a skin
// delays the first frame.
void CPaintManagerUI::ComputeMetrics(TFontDataUI& data) {
  if (data.hasMetrics || !data.font) return;
  if (m_hDcPaint != nullptr) {
    TakeMetrics(m_hDcPaint, data);
    return;
  }
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return;
  unique_memory_dc memory(::CreateCompatibleDC(screen));
  ::ReleaseDC(nullptr, screen);
  TakeMetrics(memory.get(), data);
}

LOGFONTW CPaintManagerUI::DescribeFont(const std::wstring& faceName, int size, bool bold, bool underline,
                                       bool italic) {
  LOGFONTW font = DefaultGuiFont();
  ApplyFace(font, faceName);
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfHeight = -ScaleValue(size);
  if (bold) font.lfWeight = kBoldWeight;
  if (underline) font.lfUnderline = TRUE;
  if (italic) font.lfItalic = TRUE;
  return font;
}

HFONT CPaintManagerUI::AddFont(int id, const std::wstring& faceName, int size, bool bold, bool underline,
                               bool italic, bool shared) {
  const LOGFONTW font = DescribeFont(faceName, size, bold, underline, italic);
  unique_hfont handle(::CreateFontIndirectW(&font));
  if (!handle) return nullptr;

  auto data = std::make_unique<TFontDataUI>();
  data->font = std::move(handle);
  data->faceName = font.lfFaceName;
  data->size = size;
  data->bold = bold;
  data->underline = underline;
  data->italic = italic;

  HFONT result = data->font.get();
  const std::wstring key = IntToKey(id);
  CResourceTable<TFontDataUI>& target = FontTarget(shared);
  target.Remove(key);
  if (!target.Insert(key, std::move(data))) return nullptr;
  return result;
}

TFontDataUI* CPaintManagerUI::GetDefaultFontInfo() {
  TFontDataUI& data = m_defaultFont.faceName.empty() ? Shared().defaultFont : m_defaultFont;
  ComputeMetrics(data);
  return &data;
}

HFONT CPaintManagerUI::GetFont(int id) {
  if (id >= 0) {
    const std::wstring key = IntToKey(id);
    if (TFontDataUI* data = m_fonts.Find(key)) return data->font.get();
    if (TFontDataUI* data = Shared().fonts.Find(key)) return data->font.get();
  }
  return GetDefaultFontInfo()->font.get();
}

TFontDataUI* CPaintManagerUI::GetFontInfo(int id) {
  TFontDataUI* data = nullptr;
  if (id >= 0) {
    const std::wstring key = IntToKey(id);
    data = m_fonts.Find(key);
    if (data == nullptr) data = Shared().fonts.Find(key);
  }
  if (data == nullptr) return GetDefaultFontInfo();
  ComputeMetrics(*data);
  return data;
}

TFontDataUI* CPaintManagerUI::GetFontInfo(HFONT font) {
  TFontDataUI* found = nullptr;
  auto match = [&](const std::wstring&, TFontDataUI& data) {
    if (found == nullptr && data.font.get() == font) found = &data;
  };
  m_fonts.ForEach(match);
  if (found == nullptr) Shared().fonts.ForEach(match);
  if (found == nullptr) {
    TFontDataUI* fallback = GetDefaultFontInfo();
    if (fallback->font.get() == font || font == nullptr) return fallback;
    if (m_defaultFont.font.get() == font) found = &m_defaultFont;
    else if (Shared().defaultFont.font.get() == font) found = &Shared().defaultFont;
    else return fallback;
  }
  ComputeMetrics(*found);
  return found;
}

HFONT CPaintManagerUI::FindFont(const std::wstring& faceName, int size, bool bold, bool underline, bool italic) {
  HFONT found = nullptr;
  auto match = [&](const std::wstring&, TFontDataUI& data) {
    if (found == nullptr && FontMatches(data, faceName, size, bold, underline, italic)) found = data.font.get();
  };
  m_fonts.ForEach(match);
  if (found == nullptr) Shared().fonts.ForEach(match);
  return found;
}

int CPaintManagerUI::GetFontIndex(HFONT font, bool shared) {
  int index = -1;
  (shared ? Shared().fonts : m_fonts).ForEach([&](const std::wstring& key, TFontDataUI& data) {
    if (index < 0 && data.font.get() == font) index = KeyToInt(key);
  });
  return index;
}

int CPaintManagerUI::GetFontIndex(const std::wstring& faceName, int size, bool bold, bool underline, bool italic,
                                  bool shared) {
  int index = -1;
  (shared ? Shared().fonts : m_fonts).ForEach([&](const std::wstring& key, TFontDataUI& data) {
    if (index < 0 && FontMatches(data, faceName, size, bold, underline, italic)) index = KeyToInt(key);
  });
  return index;
}

bool CPaintManagerUI::RemoveFont(int id, bool shared) {
  return (shared ? Shared().fonts : m_fonts).Remove(IntToKey(id)) != nullptr;
}

void CPaintManagerUI::SetDefaultFont(const std::wstring& faceName, int size, bool bold, bool underline,
                                     bool italic, bool shared) {
  LOGFONTW font = DefaultGuiFont();
  ApplyFace(font, faceName);
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfHeight = -ScaleValue(size);
  // The default's weight plus bold, kept within the range a font description accepts.
  if (bold) font.lfWeight = std::min<LONG>(font.lfWeight + kBoldWeight, kMaxWeight);
  if (underline) font.lfUnderline = TRUE;
  if (italic) font.lfItalic = TRUE;
  unique_hfont handle(::CreateFontIndirectW(&font));
  if (!handle) return;
  TFontDataUI& target = shared ? Shared().defaultFont : m_defaultFont;
  target.font = std::move(handle);
  target.faceName = font.lfFaceName;
  target.size = size;
  target.bold = bold;
  target.underline = underline;
  target.italic = italic;
  target.hasMetrics = false;
  target.metrics = TEXTMETRICW();
}

int CPaintManagerUI::AllocateGeneratedFontId() {
  while (m_fonts.Find(IntToKey(m_nextGeneratedFontId)) != nullptr ||
         Shared().fonts.Find(IntToKey(m_nextGeneratedFontId)) != nullptr)
    ++m_nextGeneratedFontId;
  return m_nextGeneratedFontId++;
}

bool CPaintManagerUI::AddFontFile(const std::wstring& fileName) {
  std::vector<uint8_t> bytes;
  ReadSkinOrPlainFile(fileName, bytes);
  DWORD installed = 0;
  HANDLE font = nullptr;
  if (!bytes.empty())
    font = ::AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &installed);
  m_privateFonts.emplace_back(font);
  return font != nullptr;
}

void CPaintManagerUI::SetColor(ColorIndex index, uint32_t color, bool shared) {
  if (shared) {
    uint32_t& sharedColor = Shared().colors[index];
    if (m_colors[index] == sharedColor) m_colors[index] = color;
    sharedColor = color;
  } else {
    m_colors[index] = color;
  }
}

std::unique_ptr<TImageDataUI> CPaintManagerUI::LoadImageRecord(const std::wstring& name,
                                                               const std::wstring& resourceType, uint32_t mask,
                                                               HINSTANCE instance) const {
  if (!resourceType.empty()) {
    if (name.empty() || !std::iswdigit(name[0])) return nullptr;
    const UINT id = static_cast<UINT>(static_cast<uint16_t>(std::wcstoul(name.c_str(), nullptr, 10)));
    return CSkinRender::LoadImageData(id, resourceType, mask, instance);
  }
  std::wstring path = name;
  if (const std::wstring* mapped = CSkinResourceIndex::GetInstance()->GetImagePath(name)) path = *mapped;
  return CSkinRender::LoadImageData(path, L"", mask, instance);
}

const TImageDataUI* CPaintManagerUI::AddImage(const std::wstring& name, const std::wstring& resourceType,
                                              uint32_t mask, bool hsl, bool shared, HINSTANCE instance) {
  if (name.empty()) return nullptr;
  std::unique_ptr<TImageDataUI> image = LoadImageRecord(name, resourceType, mask, instance);
  if (!image) return nullptr;
  image->hsl = hsl;
  image->resourceType = resourceType;
  image->mask = mask;
  if (hsl) {
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    image->savedPixels.assign(image->pixels, image->pixels + count);
  }
  const TImageDataUI* result = image.get();
  if (!ImageTarget(shared).Set(name, std::move(image))) return nullptr;
  return result;
}

const TImageDataUI* CPaintManagerUI::AddImageBitmap(const std::wstring& name, HBITMAP bitmap, int width,
                                                    int height, bool alpha, bool shared) {
  if (name.empty() || bitmap == nullptr || width <= 0 || height <= 0) return nullptr;
  auto image = std::make_unique<TImageDataUI>();
  DIBSECTION section = {};
  if (::GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) && section.dsBm.bmBitsPixel == 32)
    image->pixels = static_cast<uint32_t*>(section.dsBm.bmBits);
  image->bitmap.reset(bitmap);
  image->width = width;
  image->height = height;
  image->alpha = alpha;
  const TImageDataUI* result = image.get();
  if (!ImageTarget(shared).Set(name, std::move(image))) return nullptr;
  return result;
}

const TImageDataUI* CPaintManagerUI::GetImage(const std::wstring& name) {
  if (const TImageDataUI* image = m_images.Find(name)) return image;
  return Shared().images.Find(name);
}

const TImageDataUI* CPaintManagerUI::GetOrLoadImage(const std::wstring& name, const std::wstring& resourceType,
                                                    uint32_t mask, bool hsl, HINSTANCE instance) {
  if (const TImageDataUI* image = GetImage(name)) return image;
  if (AddImage(name, resourceType, mask, hsl, false, instance) == nullptr) return nullptr;
  return ImageTarget(false).Find(name);
}

bool CPaintManagerUI::RemoveImage(const std::wstring& name, bool shared) {
  return (shared ? Shared().images : m_images).Remove(name) != nullptr;
}

void CPaintManagerUI::AddDefaultAttributeList(const std::wstring& elementName, const std::wstring& attributes,
                                              bool shared) {
  CResourceTable<std::wstring>& target =
      shared || m_bUseSharedResources ? Shared().defaultAttributeLists : m_defaultAttributeLists;
  target.Set(elementName, std::make_unique<std::wstring>(attributes));
}

const std::wstring* CPaintManagerUI::GetDefaultAttributeList(const std::wstring& elementName) {
  if (const std::wstring* list = m_defaultAttributeLists.Find(elementName)) return list;
  return Shared().defaultAttributeLists.Find(elementName);
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const std::wstring& elementName, bool shared) {
  return (shared ? Shared().defaultAttributeLists : m_defaultAttributeLists).Remove(elementName) != nullptr;
}

void CPaintManagerUI::AddStyle(const std::wstring& name, const std::wstring& value, bool shared) {
  CResourceTable<std::wstring>& target = shared || m_bUseSharedResources ? Shared().styles : m_styles;
  target.Insert(name, std::make_unique<std::wstring>(value));
}

const std::wstring* CPaintManagerUI::GetStyle(const std::wstring& name) {
  if (const std::wstring* style = m_styles.Find(name)) return style;
  return Shared().styles.Find(name);
}

const TImageDrawUI* CPaintManagerUI::GetParsedDescriptor(const std::wstring& descriptor,
                                                         const std::wstring& modifier) {
  const std::wstring key = descriptor + modifier;
  if (key.empty()) return nullptr;
  if (const TImageDrawUI* info = m_parsedDescriptors.Find(key)) return info;
  auto info = std::make_unique<TImageDrawUI>();
  CSkinRender::ParseImageDescriptor(*info, descriptor, modifier, this);
  const TImageDrawUI* result = info.get();
  if (!m_parsedDescriptors.Insert(key, std::move(info))) return nullptr;
  return result;
}

void CPaintManagerUI::ApplyDpi(int dpi) {
  CDpiScaler* scaler = GetDpiScaler();
  const int before = scaler->GetScale();
  scaler->SetDpi(dpi);
  if (scaler->GetScale() == before) return;
  // The window's fonts again at the new size; shared fonts serve windows at other scales.
  m_fonts.ForEach([this](const std::wstring&, TFontDataUI& data) {
    const LOGFONTW font = DescribeFont(data.faceName, data.size, data.bold, data.underline, data.italic);
    unique_hfont handle(::CreateFontIndirectW(&font));
    if (!handle) return;
    data.font = std::move(handle);
    data.hasMetrics = false;
  });
  if (!m_defaultFont.faceName.empty()) {
    const std::wstring face = m_defaultFont.faceName;
    SetDefaultFont(face, m_defaultFont.size, m_defaultFont.bold, m_defaultFont.underline, m_defaultFont.italic);
  }
  // Parsed descriptors hold scaled rectangles and the scale's image names: parse them again, and
  // free the images loaded under the old names.
  m_parsedDescriptors.ForEach([this](const std::wstring&, TImageDrawUI& info) { m_images.Remove(info.imageName); });
  m_parsedDescriptors.Clear();
  if (m_pRoot != nullptr) m_pRoot->NeedLayout();
  Invalidate();
}

void CPaintManagerUI::ResetResources() {
  m_fonts.Clear();
  m_images.Clear();
  m_defaultAttributeLists.Clear();
  m_styles.Clear();
  m_parsedDescriptors.Clear();
  m_defaultFont = TFontDataUI();
}

namespace {

// Loads an image again from the key it is registered under, keeping its mask.
std::unique_ptr<TImageDataUI> ReloadFromKey(const std::wstring& key, const TImageDataUI& old) {
  if (!key.empty() && std::iswdigit(key[0]) && !old.resourceType.empty()) {
    const UINT id = static_cast<UINT>(static_cast<uint16_t>(std::wcstoul(key.c_str(), nullptr, 10)));
    return CSkinRender::LoadImageData(id, old.resourceType, old.mask, nullptr);
  }
  std::wstring path = key;
  if (const std::wstring* mapped = CSkinResourceIndex::GetInstance()->GetImagePath(key)) path = *mapped;
  return CSkinRender::LoadImageData(path, L"", old.mask, nullptr);
}

void ReplaceBitmap(TImageDataUI& target, std::unique_ptr<TImageDataUI> fresh) {
  fresh->hsl = target.hsl;
  fresh->resourceType = target.resourceType;
  fresh->mask = target.mask;
  if (target.hsl) {
    const size_t count = static_cast<size_t>(fresh->width) * static_cast<size_t>(fresh->height);
    fresh->savedPixels.assign(fresh->pixels, fresh->pixels + count);
  }
  target = std::move(*fresh);
}

}  // namespace

void CPaintManagerUI::ReloadOwnImages() {
  m_images.RemoveIf([](const std::wstring& key, TImageDataUI& image) {
    std::unique_ptr<TImageDataUI> fresh = ReloadFromKey(key, image);
    if (!fresh) return true;
    ReplaceBitmap(image, std::move(fresh));
    return false;
  });
}

void CPaintManagerUI::ReloadImages() {
  SharedResources& shared = Shared();
  shared.images.ForEach([](const std::wstring& key, TImageDataUI& image) {
    if (std::unique_ptr<TImageDataUI> fresh = ReloadFromKey(key, image)) ReplaceBitmap(image, std::move(fresh));
  });
  for (CPaintManagerUI* manager : shared.managers) manager->ReloadOwnImages();
}

void CPaintManagerUI::TermSharedResources() {
  SharedResources& shared = Shared();
  CSkinResourceIndex::Release();
  shared.images.Clear();
  shared.fonts.Clear();
  shared.defaultFont = TFontDataUI();
  shared.styles.Clear();
  shared.defaultAttributeLists.Clear();
  shared.initialised = false;
  CSkinResource::CloseResourceZip();
}

HFONT CPaintManagerUI::GetSharedFont(int id) {
  if (TFontDataUI* data = Shared().fonts.Find(IntToKey(id))) return data->font.get();
  return nullptr;
}

const TImageDataUI* CPaintManagerUI::GetSharedImage(const std::wstring& name) { return Shared().images.Find(name); }

}  // namespace SkinUI
