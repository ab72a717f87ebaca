# Sourced by the benchmarks. Expects generator, data, degree and seed to be set.

# The median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Prints the path of the layout of NODES nodes, of the generator's KIND (its default when
# omitted), generating it when missing or older than the generator.
input_for() {
    local kind="${2:-}"
    local path="$data/${kind:-layout}-$1-$degree-seed$seed.3dlayout"
    if [[ ! -s "$path" || "$generator" -nt "$path" ]]; then
        "$generator" "$1" "$degree" "$seed" "$path.part" ${kind:+"$kind"} && mv "$path.part" "$path"
    fi
    echo "$path"
}

# The median of each column of FILE (lines of as many fields); a column that is not a number
# ("-") passes through.
median_columns() {
    local fields column values line=()
    fields="$(head -n 1 "$1" | wc -w)"
    for ((column = 1; column <= fields; ++column)); do
        values="$(cut -d' ' -f"$column" "$1")"
        if [[ "$(head -n 1 <<<"$values")" =~ ^[0-9.]+$ ]]; then
            line+=("$(median <<<"$values")")
        else
            line+=("$(head -n 1 <<<"$values")")
        fi
    done
    echo "${line[*]}"
}
