# bash completion for huesplinter

_huesplinter() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --format)
            COMPREPLY=($(compgen -W 'html bgr rgb-values hsl custom combined css-rgb css-hsl oklch
                short-hex all' -- "$cur"))
            return
            ;;
        --convert | --contrast)
            return
            ;;
    esac
    COMPREPLY=($(compgen -W '--help --version --reset-settings --frozen --pick --average --copy
        --convert --contrast --format' -- "$cur"))
}
complete -F _huesplinter huesplinter
