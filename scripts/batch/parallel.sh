#!/bin/sh
# Runs one vantel-render batch as N shards side by side with GNU parallel: N processes on this
# machine's cores (or, with PARALLEL="--sshloginfile hosts" in the environment, on several
# machines that share the output folder). Every shard writes its JSON lines to standard output,
# one job's lines together; the exit status is the number of shards that failed.
#
#     scripts/batch/parallel.sh 4 examples/invoice.vnt \
#         --each "SELECT InvoiceNo AS INVOICE_NO FROM Invoices" \
#         -o 'out/invoice-{INVOICE_NO}.pdf' > manifest.jsonl
#
# Set VANTEL_RENDER to the program when it is not on the PATH.
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 SHARDS REPORT.vnt [vantel-render options]..." >&2
    exit 2
fi
shards=$1
shift
# -q passes every argument through as it is, {COLUMN} and quotes included; {} is the shard.
exec parallel -q -j "$shards" --halt never "${VANTEL_RENDER:-vantel-render}" "$@" \
    --skip-existing --shard "{}/$shards" ::: $(seq 0 $((shards - 1)))
