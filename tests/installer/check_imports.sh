#!/usr/bin/env bash
# check_imports.sh BIN_DIR
# The modules users get import only KnownDLLs, which Windows always maps from System32, so no
# DLL beside them can stand in for an import before setup's first statement runs.
# comctl32 comes through the manifest's side-by-side assembly and is allowed too.
set -uo pipefail
bin=$1
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of Windows 10, plus ntdll,
# which is always mapped from System32.
known="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf
msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32
wldap32 wow64 wow64win ws2_32 ntdll comctl32"
problems=0
for module in setup.exe 7zCore.dll ZKUnInstall.exe VIDer.exe; do
  [ -f "$bin/$module" ] || { echo "FAIL: $bin/$module is missing"; problems=$((problems + 1)); continue; }
  names=$(i686-w64-mingw32-objdump -p "$bin/$module" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$names" ] || { echo "FAIL: $module lists no imports (objdump failed?)"; problems=$((problems + 1)); }
  for dll in $names; do
    grep -qw "${dll%.dll}" <<<"$known" || { echo "FAIL: $module imports $dll"; problems=$((problems + 1)); }
  done
done
echo "import check: $problems problem(s)"
[ "$problems" -eq 0 ]
