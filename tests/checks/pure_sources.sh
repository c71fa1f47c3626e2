#!/usr/bin/env bash
# Pure logic must build and be tested without Windows: only *_win files may include Win32 headers.
set -u
root=$1
# The list is the check's subject: a failing find, or no pure source at all, fails the check.
if ! sources=$(find "$root/src" \( -name '*.cpp' -o -name '*.h' \) -print); then
  echo "could not list the sources under $root/src" >&2
  exit 1
fi
pure=$(printf '%s\n' "$sources" | grep -v -E '_win\.(cpp|h)$' | grep -v '^$')
if [ -z "$pure" ]; then
  echo "no pure sources found under $root/src" >&2
  exit 1
fi
# grep says 1 when nothing matched (clean) and 2 when it could not read a file, which must not pass as clean.
bad=$(printf '%s\n' "$pure" | tr '\n' '\0' |
      xargs -0 sh -c 'grep -l -E "#\s*include\s*[<\"](windows|winuser|wingdi|winreg|wincodec|shlobj|commdlg|objbase|shellapi|commctrl|winbase)\.h[>\"]" "$@"; s=$?; [ $s -le 1 ] || exit 255' grep)
status=$?
if [ $status -ne 0 ]; then
  echo "could not read every pure source (grep failed)" >&2
  exit 1
fi
if [ -n "$bad" ]; then
  echo "Win32 headers in pure sources (rename to *_win or move the glue out):"
  echo "$bad"
  exit 1
fi
echo "pure sources ($(printf '%s\n' "$pure" | wc -l) files) are free of Win32 headers"
