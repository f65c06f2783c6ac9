# Sourced by the Wine scripts: the project's own test prefix, never ~/.wine.
ZK_ROOT=${ZK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${ZK_WINEPREFIX:-$ZK_ROOT/build/wine-prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the programs under test need neither. No menu builder: Wine starts
# it for every saved shell link, and it would outlive the test holding the test runner's pipes
# (and write host menu entries).
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# A fixed locale keeps the ANSI code page of the tests the same everywhere (1252);
# a test that needs the users' code page 936 sets LC_ALL=zh_CN.UTF-8 for its own child.
export LC_ALL=${ZK_WINE_LC_ALL:-C.UTF-8}
