# The fuzz targets and how each is run; sourced by run_fuzz.sh and campaign.sh.
all_targets=(reader convert options partition names)
declare -A max_len=([reader]=4096 [convert]=4096 [options]=512 [partition]=2048 [names]=2048)
declare -A dictionary=([reader]=layout.dict [convert]=convert.dict [options]=options.dict
    [partition]=partition.dict [names]=names.dict)
