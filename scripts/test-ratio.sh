#!/bin/sh
# Prints the lines of the tests, the lines of the sources and their ratio, blank lines and lines that are
# only a // comment left out, over the files that git tracks. Run from anywhere inside the project.
set -eu
cd "$(git rev-parse --show-toplevel)"
code=$(git ls-files 'src/*.cpp' 'src/*.h' | xargs cat | grep -cvE '^\s*($|//)')
tests=$(git ls-files 'tests/*.cpp' 'tests/*.h' | xargs cat | grep -cvE '^\s*($|//)')
echo "tests $tests"
echo "code $code"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio %.2f\n", t / c }'
