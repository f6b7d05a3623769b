#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Validates the installed menu entry and software-centre metadata with the desktop's own checkers,
# where they are installed (exit 77, a skip, where they are not).
#   validate.sh <root> <app id>
set -euo pipefail
root=$1 id=$2
if ! command -v desktop-file-validate >/dev/null || ! command -v appstreamcli >/dev/null; then
  echo "desktop-file-validate or appstreamcli is not installed"
  exit 77
fi
desktop-file-validate "$root/usr/share/applications/$id.desktop"
# --no-net: the screenshot's address is checked for its form, not fetched.
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml"
