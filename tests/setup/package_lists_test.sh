#!/usr/bin/env bash
# Starting the program (run.sh) installs what the program needs and none of
# the packages only the tests and benchmarks use; the test set-up installs
# those too. Reads the lists through setup.sh --dry-run, which changes nothing.
set -euo pipefail
setup="$1"
run="$2"

test_only=(libgtest-dev libgmock-dev libbenchmark-dev chromium chromium-driver nodejs libgedcom-perl npm)
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
if ! grep -q 'setup.sh" --program' "$run"; then
  echo "run.sh does not ask setup.sh for the program alone"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "package lists as expected"
exit "$failed"
