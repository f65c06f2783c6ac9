#pragma once
// The skin's markup documents: a small XML subset parsed in place into one wide buffer and an
// array of element records. CXmlMarkupNode is a value handle onto one element; it stays valid
// while its document is alive and not reloaded.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace SkinUI {

class CXmlMarkup;

constexpr size_t kMaxMarkupAttributes = 64;

class CXmlMarkupNode {
 public:
  CXmlMarkupNode() = default;

  bool IsValid() const;
  CXmlMarkupNode Parent() const;
  CXmlMarkupNode NextSibling() const;
  CXmlMarkupNode FirstChild() const;
  // The first child whose name equals name ignoring case.
  CXmlMarkupNode ChildByName(const wchar_t* name) const;
  bool HasSiblings() const;
  bool HasChildren() const;
  const wchar_t* Name() const;
  const wchar_t* Value() const;

  // Attribute names match ignoring case. On a valid handle a missing attribute reads as ""
  // (the copying forms return false and leave the buffer alone); on an invalid one the text
  // getters return null.
  bool HasAttributes() const;
  int AttributeCount() const;
  const wchar_t* AttributeName(int index) const;
  const wchar_t* AttributeValue(int index) const;
  const wchar_t* AttributeValue(const wchar_t* name) const;
  bool HasAttribute(const wchar_t* name) const;
  // Copies at most length - 1 characters and a NUL.
  bool CopyAttributeValue(int index, wchar_t* buffer, size_t length) const;
  bool CopyAttributeValue(const wchar_t* name, wchar_t* buffer, size_t length) const;

 private:
  friend class CXmlMarkup;
  struct Attribute {
    uint32_t name;
    uint32_t value;
  };

  CXmlMarkupNode(CXmlMarkup* owner, uint32_t position);
  CXmlMarkupNode Other(uint32_t position) const;
  void ScanAttributes() const;
  int FindAttribute(const wchar_t* name) const;

  uint32_t position_ = 0;
  mutable uint32_t attributeCount_ = 0;  // 0: not scanned yet
  mutable Attribute attributes_[kMaxMarkupAttributes] = {};
  CXmlMarkup* owner_ = nullptr;
};

class CXmlMarkup {
 public:
  enum Encoding { kEncodingUtf8 = 0, kEncodingUnicode = 1, kEncodingAnsi = 2 };
  // Elements nested deeper than this are refused: the parser recurses once per level.
  static constexpr size_t kMaxNestingDepth = 256;

  explicit CXmlMarkup(const wchar_t* text = nullptr);
  ~CXmlMarkup();
  CXmlMarkup(const CXmlMarkup&) = delete;
  CXmlMarkup& operator=(const CXmlMarkup&) = delete;

  bool LoadText(const wchar_t* text);
  bool LoadBuffer(const void* bytes, size_t size, int encoding = kEncodingUtf8);
  // Reads the named skin file from the current skin source (Windows only).
  bool LoadFile(const wchar_t* name, int encoding = kEncodingUtf8);
  void Clear();
  bool IsValid() const;
  void SetPreserveWhitespace(bool preserve = true);
  // Copy at most length - 1 characters and a NUL.
  void GetErrorMessage(wchar_t* buffer, size_t length) const;
  void GetErrorLocation(wchar_t* buffer, size_t length) const;
  CXmlMarkupNode Root();

 private:
  friend class CXmlMarkupNode;
  struct Element {
    uint32_t start;
    uint32_t child;
    uint32_t next;
    uint32_t parent;
    uint32_t data;
  };
  static constexpr size_t kErrorMessageChars = 100;
  static constexpr size_t kErrorLocationChars = 50;

  bool TakeText(std::unique_ptr<wchar_t[]> text);
  bool Parse();
  // depth: the number of elements open around the children.
  bool ParseChildren(uint32_t parent, size_t depth, wchar_t*& cursor);
  bool ParseAttributes(wchar_t*& cursor);
  void ParseValue(wchar_t*& cursor, wchar_t end, wchar_t*& destination);
  uint32_t AddElement(uint32_t start, uint32_t parent);
  uint32_t Offset(const wchar_t* at) const;
  bool Fail(const wchar_t* message, const wchar_t* at);
  void FailLoad(const wchar_t* message);

  std::unique_ptr<wchar_t[]> text_;
  std::vector<Element> elements_;
  bool hasElements_ = false;
  wchar_t errorMessage_[kErrorMessageChars] = {};
  wchar_t errorLocation_[kErrorLocationChars] = {};
  bool preserveWhitespace_ = true;
};

}  // namespace SkinUI
