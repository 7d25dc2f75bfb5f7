# shellcheck shell=bash
# Sourced by the command-line end-to-end scripts: takes their arguments (the program, then an
# optional runner such as with_wine.sh), moves into a scratch folder removed on exit, and gives
# them fail, run and finish. Usage: source cli_common.sh PATH/TO/PROGRAM [RUNNER...]
program=$(realpath "$1")
shift
runner=("$@")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs the program; stdout and stderr (Windows line ends made plain) go to out.txt and err.txt.
run() {
  "${runner[@]}" "$program" "$@" >out.raw 2>err.raw
  status=$?
  tr -d '\r' <out.raw >out.txt
  tr -d '\r' <err.raw >err.txt
  return $status
}

# Ends the script: status 1 with the count of failed checks, or 0 saying NAME passed.
finish() {
  if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1: all checks passed"
}
