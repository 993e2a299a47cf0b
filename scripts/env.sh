# Sourced by the scripts: the environment that Tralvo's builds and tests run in.
TRALVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TRALVO_ROOT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/tralvo-runtime-XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
TRALVO_JOBS=$(nproc 2>/dev/null || echo 2)
export TRALVO_JOBS
