#!/usr/bin/env bash
# Checks what `cmake --install` puts into a prefix, with the validators the desktop uses.
#   check_install.sh BUILD_DIR PREFIX VERSION STEP
# STEP "install" installs into PREFIX (afresh); the other steps check that install.
set -euo pipefail

build=$1 prefix=$2 version=$3 step=$4
id=org.korvan.Korvan2
share=$prefix/share

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a validator and fails on any output: warnings count as faults, not just errors.
silent() {
  local out
  out=$("$@" 2>&1) || fail "$* exited with $?: $out"
  [ -z "$out" ] || fail "$* printed: $out"
}

case $step in
install)
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  for f in bin/korvan2 bin/korvan2-unit-sim \
           share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
           share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml \
           share/man/man1/korvan2.1.gz share/man/man1/korvan2-cli.1.gz \
           share/man/man1/korvan2-unit-sim.1.gz lib/udev/rules.d/60-korvan2.rules \
           share/doc/korvan2/copyright share/doc/korvan2/changelog.gz; do
    [ -s "$prefix/$f" ] || fail "$f was not installed"
  done
  [ -x "$prefix/bin/korvan2" ] || fail "bin/korvan2 is not executable"
  if [ -e "$build/bin/korvan2-cli" ]; then
    [ -x "$prefix/bin/korvan2-cli" ] || fail "bin/korvan2-cli was built but not installed"
  fi
  ;;
desktop)
  entry=$share/applications/$id.desktop
  silent desktop-file-validate "$entry"
  grep -qx 'Exec=korvan2 %f' "$entry" || fail "Exec does not pass the file"
  grep -qx 'MimeType=application/x-korvan2-ign;' "$entry" || fail "MimeType misses the .ign type"
  grep -qx "Icon=$id" "$entry" || fail "Icon is not the installed icon"
  ;;
metainfo)
  info=$share/metainfo/$id.metainfo.xml
  appstreamcli validate --no-net "$info" || fail "appstreamcli rejects $info"
  grep -q "<release version=\"$version\"" "$info" || fail "the release entry is not version $version"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$info" \
    || fail "the launchable is not the desktop entry"
  xmllint --noout "$share/icons/hicolor/scalable/apps/$id.svg" || fail "the icon is not well-formed"
  # Every adapter of the udev rule is offered to software centres as a modalias.
  rule=$prefix/lib/udev/rules.d/60-korvan2.rules
  ids=$(sed -n 's/.*ATTRS{idVendor}=="\([0-9a-f]*\)", ATTRS{idProduct}=="\([0-9a-f]*\)".*/\1 \2/p' "$rule")
  [ -n "$ids" ] || fail "no adapter ids found in $rule"
  while read -r v p; do
    grep -qi "<modalias>usb:v${v}p${p}d\*</modalias>" "$info" || fail "no modalias for $v:$p"
  done <<<"$ids"
  ;;
mime)
  xmllint --noout "$share/mime/packages/$id.xml" || fail "the file type is not well-formed XML"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # The desktop's own lookup, confined to this prefix and the system's types.
  export XDG_DATA_HOME=$work/none XDG_DATA_DIRS=$share:/usr/share
  silent update-mime-database "$share/mime"
  header=$'MAVELTIK_KEY   15 \r\n\r\nBIKE   0 \r\n'
  printf '%s' "$header" >"$work/tune.ign"
  printf '%s' "$header" >"$work/tune_without_extension"
  printf 'BIKE 0\r\n' >"$work/bare.ign"
  printf 'just some words\n' >"$work/notes_without_extension"
  printf 'xMAVELTIK_KEY 15\r\n' >"$work/shifted_without_extension"
  # name: file, expected type. The magic alone must find a parameter set under any name, and
  # only at the start of the file.
  while read -r name expected; do
    got=$(gio info -a standard::content-type "$work/$name" | sed -n 's/^ *standard::content-type: //p')
    [ "$got" = "$expected" ] || fail "$name is $got, expected $expected"
  done <<TABLE
tune.ign application/x-korvan2-ign
tune_without_extension application/x-korvan2-ign
bare.ign application/x-korvan2-ign
notes_without_extension text/plain
shifted_without_extension text/plain
TABLE
  ;;
man)
  for page in korvan2.1 korvan2-cli.1 korvan2-unit-sim.1; do
    gz=$share/man/man1/$page.gz
    gzip -t "$gz" || fail "$page.gz is not a gzip file"
    silent sh -c "gzip -dc '$gz' | groff -man -Tutf8 -ww -z"
    gzip -dc "$gz" | grep -q "korvan2 $version" || fail "$page does not name version $version"
  done
  ;;
*)
  fail "unknown step $step"
  ;;
esac
