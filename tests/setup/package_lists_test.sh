#!/usr/bin/env bash
# Starting the program (run.sh) installs what the program needs and none of
# the packages only the tests and benchmarks use; the test set-up installs
# those too. Reads the lists through setup.sh --dry-run, which changes nothing.
set -euo pipefail
setup="$1"
run="$2"

test_only=(libgtest-dev libgmock-dev libbenchmark-dev chromium chromium-driver nodejs libgedcom-perl xvfb openbox npm)
# What the program itself cannot do without.
program_needs=(qt6-base-dev libwmf-dev libuemf-dev libmimalloc-dev fonts-urw-base35 xdg-utils)

program=" $("$setup" --dry-run --program | cut -d' ' -f1 | tr '\n' ' ') "
all=" $("$setup" --dry-run | cut -d' ' -f1 | tr '\n' ' ') "

failed=0
for p in "${test_only[@]}"; do
  if [[ "$program" == *" $p "* ]]; then
    echo "starting the program would install the test-only package $p"
    failed=1
  fi
  # npm is added only where no npm is on the PATH.
  if [[ "$p" != npm && "$all" != *" $p "* ]]; then
    echo "the test set-up does not install $p"
    failed=1
  fi
done
for p in "${program_needs[@]}"; do
  if [[ "$program" != *" $p "* ]]; then
    echo "starting the program would not install $p"
    failed=1
  fi
done
for p in $program; do
  if [[ "$all" != *" $p "* ]]; then
    echo "the test set-up does not install the program's package $p"
    failed=1
  fi
done
# On a fresh machine dpkg has never heard of most packages: dpkg-query then
# reports the ones it knows and fails. The set-up must go on and count the
# rest missing, not stop without a word.
fake="$(mktemp -d)"
trap 'rm -rf "$fake"' EXIT
cat >"$fake/dpkg-query" <<'FAKE'
#!/bin/sh
echo "cmake install ok installed"
echo "dpkg-query: no packages found matching qt6-base-dev" >&2
exit 1
FAKE
chmod +x "$fake/dpkg-query"
if ! fresh="$(PATH="$fake:$PATH" "$setup" --dry-run --program)"; then
  echo "the set-up stops where dpkg has never heard of a package"
  failed=1
elif [[ "$fresh" != *"cmake installed"* || "$fresh" != *"qt6-base-dev missing"* ]]; then
  echo "the set-up misreads a fresh machine's packages: $fresh"
  failed=1
fi
if ! grep -q 'setup.sh" --program' "$run"; then
  echo "run.sh does not ask setup.sh for the program alone"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "package lists as expected"
exit "$failed"
