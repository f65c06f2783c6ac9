# Sources of core/ that need no Windows API: built into skinui_portable for every preset.
set(SKINUI_PORTABLE_SOURCES
  Utf16Text.cpp
  XmlMarkup.cpp
  ZipArchive.cpp
)
