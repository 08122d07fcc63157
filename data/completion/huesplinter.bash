# bash completion for huesplinter

_huesplinter() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --format)
            COMPREPLY=($(compgen -W 'html bgr rgb-values hsl custom combined all' -- "$cur"))
            return
            ;;
        --convert)
            return
            ;;
    esac
    COMPREPLY=($(compgen -W '--help --version --reset-settings --pick --average --copy
        --convert --format' -- "$cur"))
}
complete -F _huesplinter huesplinter
