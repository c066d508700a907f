# Sourced by scripts/fuzz. tx_save_findings <artifacts folder> <corpus folder>:
# copies what libFuzzer saved as a failure (crash-, leak-, timeout-, oom-) into
# the corpus, which the unit tests replay; a slow unit is a report, not a failure.
tx_save_findings() {
  local artifacts=$1 corpus=$2 found name
  for found in "$artifacts"/*; do
    [ -e "$found" ] || continue
    name=$(basename "$found")
    case $name in
      crash-* | leak-* | timeout-* | oom-*) ;;
      *) continue ;;
    esac
    cp "$found" "$corpus/$name"
    echo "   saved $name in $corpus"
  done
}
