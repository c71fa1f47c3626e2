#!/usr/bin/env bash
# Pure logic must build and be tested without Windows: only *_win files may include Win32 headers.
set -u
root=$1
bad=$(grep -l -E '#\s*include\s*[<"](windows|winuser|wingdi|winreg|wincodec|shlobj|commdlg|objbase|shellapi|commctrl|winbase)\.h[>"]' \
      $(find "$root/src" -name '*.cpp' -o -name '*.h' | grep -v -E '_win\.(cpp|h)$') 2>/dev/null)
if [ -n "$bad" ]; then
  echo "Win32 headers in pure sources (rename to *_win or move the glue out):"
  echo "$bad"
  exit 1
fi
echo "pure sources are free of Win32 headers"
