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
bad=$(printf '%s\n' "$pure" | tr '\n' '\0' |
      xargs -0 grep -l -E '#\s*include\s*[<"](windows|winuser|wingdi|winreg|wincodec|shlobj|commdlg|objbase|shellapi|commctrl|winbase)\.h[>"]')
if [ -n "$bad" ]; then
  echo "Win32 headers in pure sources (rename to *_win or move the glue out):"
  echo "$bad"
  exit 1
fi
echo "pure sources ($(printf '%s\n' "$pure" | wc -l) files) are free of Win32 headers"
