# Sourced by the test scripts. phase NAME CMD...: runs CMD as one timed phase;
# phase_summary prints every phase's time. A failing phase ends the run with
# its name (set -e in the caller), after the summary.
ravo_phases=()

phase() {
  local name=$1 start rc=0
  shift
  echo "==> $name" >&2
  start=$(date +%s)
  "$@" || rc=$?
  ravo_phases+=("$(printf '%-28s %4d s  %s' "$name" $(( $(date +%s) - start )) "$([ $rc -eq 0 ] && echo ok || echo "FAILED ($rc)")")")
  if [ $rc -ne 0 ]; then
    phase_summary
    echo "phase failed: $name" >&2
    exit $rc
  fi
}

phase_summary() {
  local line
  echo "--- phase times ---" >&2
  for line in "${ravo_phases[@]}"; do echo "$line" >&2; done
}
