#!/usr/bin/env bash
# Every built DLL and EXE may import only DLLs that ship with Windows.
set -u
folder="$1"
allowed='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt|winhttp|wininet|userenv|wtsapi32|netapi32|version|uxtheme|msimg32|imm32|ws2_32|iphlpapi|rpcrt4|crypt32|secur32|bcrypt|winmm|dwmapi|psapi|urlmon|riched20)\.dll$'
status=0
count=0
while IFS= read -r file; do
  [ -e "$file" ] || continue
  count=$((count + 1))
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -qE "$allowed"; then
      echo "$(basename "$file") imports $dll, which is not a Windows system DLL"
      status=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print $3}')
done < <(find "$folder" -name "*.dll" -o -name "*.exe")
[ "$count" -gt 0 ] || { echo "no binaries found in $folder"; exit 1; }
echo "checked $count binaries"
exit $status
