# Sourced by the load-time benchmarks. Expects generator, data, degree and seed to be set.

# The median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Prints the path of the layout of NODES nodes, generating it when missing or older than the
# generator.
input_for() {
    local path="$data/layout-$1-$degree-seed$seed.3dlayout"
    if [[ ! -s "$path" || "$generator" -nt "$path" ]]; then
        "$generator" "$1" "$degree" "$seed" "$path.part" && mv "$path.part" "$path"
    fi
    echo "$path"
}
