# Sourced by make-payload.sh and make-release.sh.
# pack_product STAGE ARCHIVE: packs every entry of STAGE (a private copy: its modes and times are
# changed) into ARCHIVE with 7zz's default settings. Inputs are made deterministic (fixed order,
# times and modes), so the same files give the same archive bytes.
pack_product() {
  local stage=$1 archive=$2
  command -v 7zz >/dev/null || { echo "pack_product: 7zz is missing; run scripts/bootstrap.sh" >&2; return 1; }
  # Fixed modes and times: 2026-01-01 00:00:00 UTC.
  find "$stage" -type d -exec chmod 755 {} +
  find "$stage" -type f -exec chmod 644 {} +
  find "$stage" -exec touch -h -d @1767225600 {} +
  rm -f "$archive"
  (cd "$stage" && LC_ALL=C find . -mindepth 1 -maxdepth 1 | LC_ALL=C sort | sed 's|^\./||' \
     | xargs -d '\n' 7zz a -bso0 -bsp0 "$archive" --)
}
