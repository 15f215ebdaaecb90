#!/usr/bin/env bash
# Trusts a test CA in one build's Wine prefix (its LocalMachine Root store), not on the system.
# Usage: trust-test-ca.sh BUILD_DIR CA_PEM   (BUILD_DIR of a MinGW configuration, with kp_trust_test_ca built)
set -euo pipefail
build=$(cd "${1:?usage: trust-test-ca.sh BUILD_DIR CA_PEM}" && pwd)
ca=$(readlink -f "${2:?usage: trust-test-ca.sh BUILD_DIR CA_PEM}")
"$build/wine-run.sh" "$build/tools/kp_trust_test_ca.exe" "Z:${ca//\//\\}" </dev/null
