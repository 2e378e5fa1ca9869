# Sourced by testenv and wine-run: Wine here runs without address randomization, and says so when it can't.
# Debian's Wine has no preloader to keep its fixed addresses free: where the kernel happens to start a
# process's heap over the shared user data page (0x7ffe0000), Wine ends it at once with status 1 and, with
# its messages off, no word (here 2 of some 8000 starts). Without address randomization, inherited by every
# process started under setarch -R, the heap starts right after Wine's loader, far below that page.

# Prints why address randomization cannot be turned off on this machine, or nothing when it can.
randomization_off_failure() {
    if ! command -v setarch >/dev/null; then
        echo "there is no setarch (Debian's util-linux package has it)"
        return
    fi
    local said
    said=$(setarch -R true 2>&1) ||
        echo "setarch -R refuses: ${said:-status $?} (a container that forbids the personality call?)"
}

# Ends the script with that reason when address randomization cannot be turned off.
require_randomization_off() {
    local why
    why=$(randomization_off_failure)
    [ -z "$why" ] && return
    echo "$1: address randomization cannot be turned off, so Wine would now and then end at once with status 1: $why" >&2
    exit 1
}
