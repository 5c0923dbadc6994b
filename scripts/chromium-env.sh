# Sourced by the run and test scripts. Chromium refuses to start as root with its sandbox on, so the
# sandbox is turned off only then; a normal user keeps it.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
  case " ${QTWEBENGINE_CHROMIUM_FLAGS:-} " in
    *" --no-sandbox "*) ;;
    *) export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox" ;;
  esac
fi
