# bash completion for quarvel-cli                          -*- shell-script -*-

_comp_quarvel_cli()
{
    # words and cword are filled in by _init_completion too.
    # shellcheck disable=SC2034
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --copy-to)
            _filedir -d
            return
            ;;
        --mask | --pattern | --rep)
            # Free text: nothing sensible to offer.
            return
            ;;
        --help | --version)
            return
            ;;
        --jobs)
            mapfile -t COMPREPLY < <(compgen -W "1 2 4 $(nproc 2>/dev/null)" -- "$cur")
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        local opts="--names --data --mask --pattern --rep --replace --prepend
            --append --match-case --whole-word --ignore-crlf --crlf-as-space
            --regex --unicode-case
            --lower-file --lower-ext --recurse --in-place --copy-to
            --interactive --saved --dry-run --json --no-journal --jobs --undo
            --help --version"
        mapfile -t COMPREPLY < <(compgen -W "$opts" -- "$cur")
        return
    fi

    # START_DIR
    _filedir -d
} &&
    complete -F _comp_quarvel_cli quarvel-cli

# ex: filetype=sh
