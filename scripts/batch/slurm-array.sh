#!/bin/bash
# A Slurm array job that runs one vantel-render batch as shards, one array task each. Every
# task takes the rows whose position modulo the task count is its index; --skip-existing makes
# a resubmission after a failure do only the files that are missing.
#
#     sbatch --array=0-15 scripts/batch/slurm-array.sh examples/invoice.vnt \
#         --each "SELECT InvoiceNo AS INVOICE_NO FROM Invoices" \
#         -o "$PWD/out/invoice-{INVOICE_NO}.pdf"
#
# Each task's JSON lines go to vantel-batch-JOB_TASK.jsonl, its messages to .err; the task
# fails (and Slurm says so) when any of its rows failed. Set VANTEL_RENDER to the program when
# it is not on the nodes' PATH; the report, its database and the output folder must be reachable
# from every node.
#SBATCH --job-name=vantel-batch
#SBATCH --array=0-3
#SBATCH --output=vantel-batch-%A_%a.jsonl
#SBATCH --error=vantel-batch-%A_%a.err
set -eu
exec "${VANTEL_RENDER:-vantel-render}" "$@" --skip-existing \
    --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT"
