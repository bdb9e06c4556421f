#!/usr/bin/env bash
# Fails when a C++ source or header differs from the project's .clang-format layout.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
