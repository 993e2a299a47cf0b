# Sourced: starts QEMU on Debian's kernel with the base initramfs plus a per-run archive.
# Needs KERNEL_DIR and INITRAMFS (from kernel.sh and initramfs.sh).
#
# vm_start LOG CASE_ARCHIVE [DISK_SPEC...] starts QEMU in the background (VM_PID); a DISK_SPEC
# is NAME=IMAGE[,iops=N][,bps=N], the guest finds the disk by its serial NAME, QEMU knows it
# as block node NAME and device NAME-device; iops and bps throttle it as a slow stick; with
# VM_QMP set to a socket path, QEMU listens there for QMP. vm_wait SECONDS waits for it,
# killing it when the time is up (status 124).
#
# TCG only: KVM is there on these machines but does not work (QEMU aborts or the guest hangs).

vm_start() {
    local log=$1 archive=$2
    shift 2
    local version initrd
    version=$(basename "$KERNEL_DIR")
    initrd="${archive%.cpio}.initrd"
    cat "$INITRAMFS" "$archive" >"$initrd"
    local args=(
        -accel tcg -machine pc -cpu qemu64 -m 512 -smp 1
        -nodefaults -no-user-config -display none -no-reboot
        -serial "file:$log"
        -kernel "$KERNEL_DIR/boot/vmlinuz-$version" -initrd "$initrd"
        # no_timer_check: on a loaded host the emulated timer can miss the kernel's check at
        # boot, which then panics ("IO-APIC + timer doesn't work!").
        -append "console=ttyS0 loglevel=1 panic=-1 rdinit=/init mitigations=off nokaslr no_timer_check"
    )
    local spec name rest image option limits
    for spec in "$@"; do
        name=${spec%%=*}
        rest=${spec#*=}
        image=${rest%%,*}
        limits=
        while [ "$rest" != "${rest#*,}" ]; do
            rest=${rest#*,}
            option=${rest%%,*}
            limits+=",x-${option%%=*}-total=${option#*=}"
        done
        args+=(-blockdev "driver=file,filename=$image,node-name=$name-file")
        if [ -n "$limits" ]; then
            # A throttle node above the image, so that the limits stay with the block node
            # when the device is taken away and put back.
            args+=(
                -object "throttle-group,id=$name-limits$limits"
                -blockdev "driver=raw,file=$name-file,node-name=$name-raw"
                -blockdev "driver=throttle,throttle-group=$name-limits,file=$name-raw,node-name=$name"
            )
        else
            args+=(-blockdev "driver=raw,file=$name-file,node-name=$name")
        fi
        args+=(-device "virtio-blk-pci,drive=$name,id=$name-device,serial=$name")
    done
    [ -z "${VM_QMP:-}" ] || args+=(-qmp "unix:$VM_QMP,server=on,wait=off")
    : >"$log"
    qemu-system-x86_64 "${args[@]}" </dev/null >"$log.qemu" 2>&1 &
    VM_PID=$!
}

vm_wait() {
    local seconds=$1 waited=0
    while kill -0 "$VM_PID" 2>/dev/null; do
        if [ "$waited" -ge $((seconds * 10)) ]; then
            kill -KILL "$VM_PID" 2>/dev/null || true
            wait "$VM_PID" 2>/dev/null || true
            return 124
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$VM_PID"
}

# vm_wait_for LOG PATTERN SECONDS: until the guest has printed a line matching PATTERN.
vm_wait_for() {
    local waited=0
    until grep -q -E "$2" "$1" 2>/dev/null; do
        kill -0 "$VM_PID" 2>/dev/null || return 1
        [ "$waited" -lt $(($3 * 20)) ] || return 1
        sleep 0.05
        waited=$((waited + 1))
    done
}
