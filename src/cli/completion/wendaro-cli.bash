# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for wendaro-cli: its commands, each command's options and
# their values, and for each operand the files of the kind it takes (tables:
# .stf and .txt; exchange files: .po, .pot, .xlf, .xliff, .csv; memories:
# .tmx; any case),
# folders always, to walk into.

# The options of each command; a trailing "=" marks one that takes a value.
_wendaro_cli_options() {
    case $1 in
        convert | update) ;;
        dump) echo "--format=" ;;
        check) echo "--against= --strict --format= --skip= --only= --max-length= --glossary= --spelling=" ;;
        status) echo "--against= --old= --format= --glossary= --pairs-from --include=" ;;
        export) echo "--source= --source-lang= --target-lang= --memory= --min-match=" ;;
        import) echo "--source= --fuzzy --ignore-extra" ;;
        memory) echo "-o --output= --source-lang= --target-lang= --pairs-from --include= --date" ;;
        pretranslate) echo "--source-lang= --target-lang=" ;;
        suggest) echo "--min-match= --limit= --format= --source-lang= --target-lang=" ;;
        diff) echo "--format= --order" ;;
        merge) echo "-o --output= --prefer= --format=" ;;
        grep) echo "-E -i -l -c -r --extended-regexp --ignore-case --files-with-matches --count --recursive --field= --include= --color --color=" ;;
    esac
    echo "--help -h"
}

# Adds to COMPREPLY the folders and the files starting with $1 whose names
# end in one of the suffixes that follow (lower case; none: every file).
_wendaro_cli_files() {
    local cur=$1 f s
    shift
    local IFS=$'\n'
    for f in $(compgen -f -- "$cur"); do
        if [[ -d $f || $# -eq 0 ]]; then
            COMPREPLY+=("$f")
            continue
        fi
        for s in "$@"; do
            if [[ ${f,,} == *."$s" ]]; then
                COMPREPLY+=("$f")
                break
            fi
        done
    done
    compopt -o filenames 2>/dev/null
}

_wendaro_cli_tables() { _wendaro_cli_files "$1" stf txt; }
_wendaro_cli_exchange() { _wendaro_cli_files "$1" po pot xlf xliff csv; }
_wendaro_cli_memories() { _wendaro_cli_files "$1" tmx; }

# Options whose value may be the next word, not only after "=".
_wendaro_cli_takes_next() {
    case $1 in
        --against | --old | --source | --field | --include | --format | --prefer | -o | --output | --source-lang | \
            --target-lang | --memory | --min-match | --limit | --skip | --only | --max-length | --glossary | --spelling)
            return 0
            ;;
    esac
    return 1
}

_wendaro_cli() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    # The command and how many operands come before the word completed.
    # bash splits "--format=json" into "--format", "=" and "json".
    local i word command= operands=0 ended=
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -z $ended && $word == -- ]]; then
            ended=1
        elif [[ -z $ended && $word == -?* ]]; then
            if [[ ${COMP_WORDS[i + 1]} == = ]]; then
                ((i += 2))
            elif _wendaro_cli_takes_next "$word"; then
                ((i++))
            fi
        elif [[ -z $command ]]; then
            command=$word
        else
            ((operands++))
        fi
    done

    # An option's value.
    local option= value=$cur
    if [[ $cur == = ]]; then
        option=$prev value=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        option=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ -z $ended ]] && _wendaro_cli_takes_next "$prev"; then
        option=$prev
    fi
    if [[ -n $option ]]; then
        case $option in
            --format) COMPREPLY=($(compgen -W "text json" -- "$value")) ;;
            --field) COMPREPLY=($(compgen -W "index name value" -- "$value")) ;;
            --color) COMPREPLY=($(compgen -W "auto always never" -- "$value")) ;;
            --prefer) COMPREPLY=($(compgen -W "ours theirs" -- "$value")) ;;
            --skip | --only)
                COMPREPLY=($(compgen -W "indexes untranslated unchanged linebreaks accelerators placeholders whitespace
                    numbers endpunc doublespace doublewords brackets urls tags length inconsistent glossary spelling" -- "$value"))
                ;;
            -o | --output)
                if [[ $command == memory ]]; then
                    _wendaro_cli_memories "$value"
                else
                    _wendaro_cli_tables "$value"
                fi
                ;;
            --against | --old | --source) _wendaro_cli_tables "$value" ;;
            --memory) _wendaro_cli_memories "$value" ;;
            --glossary) _wendaro_cli_files "$value" txt tsv utf8 csv tbx ;;
            --include | --source-lang | --target-lang | --min-match | --limit | --max-length | --spelling) ;;
        esac
        return 0
    fi

    if [[ -z $ended && $cur == -* ]]; then
        if [[ -z $command ]]; then
            COMPREPLY=($(compgen -W "--help -h --version" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_wendaro_cli_options "$command")" -- "$cur"))
            [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
        fi
        return 0
    fi

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "convert dump check status export import memory pretranslate suggest diff update merge grep" -- "$cur"))
        return 0
    fi
    case $command:$operands in
        export:1 | import:1) _wendaro_cli_exchange "$cur" ;;
        grep:0) ;; # the pattern
        pretranslate:[01]) _wendaro_cli_tables "$cur" ;;
        pretranslate:*) _wendaro_cli_files "$cur" tmx stf txt ;; # memories, then OUT
        suggest:[01]) _wendaro_cli_tables "$cur" ;;
        suggest:*) _wendaro_cli_memories "$cur" ;;
        convert:[01] | dump:0 | check:0 | status:0 | export:0 | import:[02] | memory:* | diff:[01] | update:[0-3] | merge:[0-2] | grep:*)
            _wendaro_cli_tables "$cur"
            ;;
    esac
    return 0
}

complete -F _wendaro_cli wendaro-cli
