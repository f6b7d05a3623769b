#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every text file of the source tree that git tracks or would track opens with its
# "SPDX-License-Identifier: MIT" line (within its first three lines, after a #! or <?xml line);
# the licence, Markdown documents and pictures are exempt, and so is the translation (.ts), which Qt's
# lupdate rewrites whole, dropping any comment, and npm's package-lock.json, which npm writes whole. Exit 77, a skip, outside a git checkout.
#   spdx_lines.sh <source dir>
set -euo pipefail
cd "$1"
if ! git rev-parse --git-dir >/dev/null 2>&1; then
  echo "not a git checkout: nothing to list"
  exit 77
fi
missing=0
while IFS= read -r file; do
  case "$file" in LICENSE | .gitignore | *.md | *.ts | */package-lock.json) continue ;; esac
  [ -f "$file" ] && grep -qI '' "$file" || continue  # gone from the work tree, empty or binary
  if ! head -3 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
    echo "no SPDX-License-Identifier line: $file"
    missing=$((missing + 1))
  fi
done < <(git ls-files --cached --others --exclude-standard)
[ "$missing" -eq 0 ]
