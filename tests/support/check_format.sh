#!/usr/bin/env bash
# Fails when a C++ source of the project differs from the project's .clang-format style, and
# names the files (fix them with clang-format -i).
# Usage: check_format.sh SOURCE_DIR
set -u
cd "$1" || exit 1
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
status=0
while IFS= read -r file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    status=1
  fi
done < <(find engine game tools tests examples bench fuzz -name '*.cpp' -o -name '*.h' | sort)
exit $status
