"""Runs a case: keno in a folder with its history, on a pipe, a file or a
pty, its status and every byte it wrote compared with the case's. keno.exe's
terminal is a real console window: Wine's console host on an Xvfb of its
own, typed into with xdotool, its screen read by keno_console_screen.exe;
the console cases share one Wine prefix, taking turns by a lock beside it."""
import contextlib
import glob
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

import faults
from cases import DIRECTORY, RUNS, build
from model import (LOOKED_FOR, NOT_OPENED, OUTPUT_ENCODING, PROMPT,
                   STILL_WAITING, full_path)

SKIPPED = "skipped"
KEYS = {"\n": ["key", "Return"], "\x04": ["key", "ctrl+z", "Return"]}


def run_case(name, keno, emulator, timeout, max_memory_mb, folder=None,
             console_screen=None, console_dir="console"):
    """True when the case passes in `folder` (see history_laid), False when
    it fails, SKIPPED when this system cannot run it."""
    faults.KENO[:] = emulator + [os.path.abspath(keno)]
    try:
        case = build(name)
        windows = keno.lower().endswith(".exe")
        in_console = windows and case.run in ("terminal", "null_input")
        skip_unless_runnable(case, emulator, in_console, console_screen)
        with history_laid(case, folder, timeout) as folder:
            expected, expected_errors = case.expected, case.stderr
            # A history keno cannot open is named with its full path.
            if expected.startswith(NOT_OPENED):
                expected_errors = (LOOKED_FOR + full_path(os.path.join(
                    folder, "keno10.csv"), windows) + "\n" + expected_errors)
            if in_console:
                # Output and standard error both show on the screen.
                expected = expected_screen(case, expected, expected_errors)
                expected_errors = ""
                status, output, errors, problems = run_in_console(
                    name, full_path(keno, True), folder, case, expected,
                    console_screen, os.path.abspath(console_dir), timeout)
            else:
                if windows:
                    expected = expected.replace("\n", "\r\n")
                    expected_errors = expected_errors.replace("\n", "\r\n")
                status, output, errors, problems = run_local(
                    *command(case, keno, emulator, folder), folder, case,
                    len(expected.encode(OUTPUT_ENCODING)), timeout,
                    max_memory_mb)
    except faults.Skip as why:
        print(f"{name}: skipped: {why}")
        return SKIPPED
    except OSError as error:  # keno that cannot be started, say
        print(f"{name}: {error}")
        return False
    # Wine's and strace's own lines (a prefix made, a path resolved, a
    # failed trace) are not keno's; strace's tell why a case failed.
    noted = [line.decode(errors="replace").rstrip() for line in
             errors.splitlines() if line.startswith(b"strace: ")]
    errors = b"".join(line for line in errors.splitlines(keepends=True)
                      if not line.startswith((b"wine: ", b"strace: ")))
    if status != case.status:
        problems.append(f"exit status {status}, expected {case.status}")
    if output != expected.encode(OUTPUT_ENCODING):
        problems.append(differs("output", output, expected, OUTPUT_ENCODING))
    if errors != expected_errors.encode():
        problems.append(differs("standard error", errors, expected_errors))
    for p in (problems + noted) if problems else ["passed"]:
        print(f"{name}: {p}")
    return not problems


def skip_unless_runnable(case, emulator, in_console, console_screen):
    """Raises Skip when this system cannot run the case as it runs; strace's
    absence is found where strace is looked for."""
    stdin, stdout, _ = RUNS[case.run]
    tools = [tool for tool in ("Xvfb", "xdotool", "import", "wineconsole")
             if not shutil.which(tool)]
    tools += [] if console_screen else ["--console-screen"]
    for lacking, why in [
            (in_console and tools, f"a console window needs "
             f"{', '.join(tools)} (tools/packages.sh windows installs them)"),
            (case.fifo and (emulator or not os.path.isdir("/proc/self/fd")),
             "serves a named pipe, which needs a native keno and /proc"),
            (stdout == "full" and not os.path.exists("/dev/full"),
             "needs /dev/full"),
            ("closed" in (stdin, stdout) and os.name != "posix",
             "closes a descriptor, which needs POSIX"),
            (stdin == "terminal" and not in_console
             and (emulator or os.name != "posix"),
             "needs a terminal as the input: a pty, which only a native "
             "POSIX build can be given, or a console for keno.exe"),
            (case.read_only and as_root(emulator)
             and not shutil.which("setpriv"),
             "runs as root, and without setpriv it cannot run as nobody"),
            (case.inject and case.inject.call == "openat" and emulator,
             "fails an open, which Wine makes in wineserver, out of reach")]:
        if lacking:
            raise faults.Skip(why)


@contextlib.contextmanager
def history_laid(case, folder, timeout):
    """The folder where keno runs, case.folder in `folder` or in a new one,
    with the case's history there: a file, a folder, or a named pipe served
    from a thread of its own. A given folder loses the history afterwards."""
    with tempfile.TemporaryDirectory(prefix="keno_e2e_") as temporary:
        folder = os.path.join(folder or temporary, case.folder or "")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "keno10.csv")
        if case.history == DIRECTORY:
            os.mkdir(path)
        elif case.fifo:
            os.mkfifo(path)
            threading.Thread(target=serve_fifo, daemon=True,
                             args=(path, case.history, timeout)).start()
        elif case.history is not None:
            with open(path, "wb") as f:
                f.write(case.history)
            if case.read_only:
                os.chmod(path, 0o444)
        try:
            yield folder
        finally:
            with contextlib.suppress(FileNotFoundError):
                (os.rmdir if os.path.isdir(path) else os.remove)(path)


def fifo_is_open(path):
    target = os.path.realpath(path)
    for link in glob.glob("/proc/[0-9]*/fd/*"):
        with contextlib.suppress(OSError):
            if os.readlink(link) == target:
                return True
    return False


def serve_fifo(path, data, timeout, passes=2):
    """Writes `data` into the named pipe for each of keno's passes. A pass
    is served only once the last one's reader has closed it, or its data
    would run on into the earlier reader's pipe, or be lost with it."""
    for _ in range(passes):
        deadline = time.monotonic() + timeout
        while fifo_is_open(path) and time.monotonic() < deadline:
            time.sleep(0.01)
        with contextlib.suppress(BrokenPipeError), open(path, "wb") as pipe:
            pipe.write(data)


def as_root(emulator):
    return not emulator and hasattr(os, "geteuid") and os.geteuid() == 0


def command(case, keno, emulator, folder):
    """The command that runs keno for the case, and its environment. Root
    may open a read-only file for writing, so a native keno started by root
    on one runs as nobody, from a copy in the case's folder."""
    command = emulator + [os.path.abspath(keno)]
    if case.read_only and as_root(emulator):
        os.chmod(folder, 0o755)
        command = [shutil.which("setpriv"), "--reuid=65534", "--regid=65534",
                   "--clear-groups", shutil.copy(command[-1], folder)]
    return (faults.injected(command, case, os.environ, folder)
            if case.inject else (command, os.environ))


def run_local(command, env, folder, case, expected_size, timeout,
              max_memory_mb):
    """Runs keno on case.typed as the case's run says; returns (status,
    output, standard error, problems)."""
    stdin, stdout, enter = RUNS[case.run]
    terminal = tty = None
    if stdin == "terminal":
        import pty  # POSIX only
        terminal, tty = pty.openpty()

    def close_what_the_case_closes():
        for fd, how in ((0, stdin), (1, stdout)):
            if how == "closed":
                os.close(fd)

    def type_keys(text, then_close):
        # A keno that has ended takes no more: its input is closed then.
        try:
            keys.write(text)
            keys.flush()
        except BrokenPipeError:
            then_close = True
        if then_close:
            with contextlib.suppress(BrokenPipeError):
                keys.close()

    with open("/dev/full" if stdout == "full" else os.devnull,
              "wb") as sink, subprocess.Popen(
                  command, cwd=folder, env=env,
                  stdin={"pipe": subprocess.PIPE, "open": subprocess.PIPE,
                         "terminal": tty}.get(stdin, subprocess.DEVNULL),
                  stdout=subprocess.PIPE if stdout == "pipe" else sink,
                  stderr=subprocess.PIPE,
                  preexec_fn=close_what_the_case_closes
                  if "closed" in (stdin, stdout) else None) as process:
        keys = process.stdin
        if tty is not None:
            os.close(tty)
            keys = os.fdopen(terminal, "wb", buffering=0)
        if keys:
            type_keys(case.typed, then_close=stdin == "pipe")
        output = b""
        if enter:
            output, whole = read_within(process.stdout, expected_size, timeout)
            if not whole:
                process.kill()
                return (process.wait(), output, process.stderr.read(),
                        [f"output incomplete after {timeout} s"])
        # The output is small: it fits the pipe while nobody reads it.
        problems = finish(process, enter, timeout, lambda: memory_problems(
            process.pid, max_memory_mb), lambda text: type_keys(
                text, then_close=stdin == "open"))
        if process.stdout:
            output += process.stdout.read()
        errors = process.stderr.read()
        if tty is not None:
            keys.close()
    return process.returncode, output, errors, problems


def finish(process, enter, timeout, waiting, type_keys):
    """Waits for keno to end, or kills it; first, with an `enter`, checks
    that keno still waits and what waiting() finds, and types the Enter."""
    problems = []
    if enter:
        time.sleep(STILL_WAITING)
        if process.poll() is not None:
            problems.append("ended without waiting for Enter")
        else:
            problems += waiting()
            type_keys(enter)
    try:
        process.wait(timeout=timeout)
        return problems
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return problems + [f"still running after {timeout} s"]


def read_within(stream, size, timeout):
    """Reads `size` bytes (fewer at the end): what came within `timeout`,
    and whether that was all, so that a short output still shows."""
    got = bytearray()

    def read():
        with contextlib.suppress(ValueError):  # closed on a timeout
            while len(got) < size and (chunk := stream.read1(size - len(got))):
                got.extend(chunk)
    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    reader.join(timeout)
    return bytes(got), not reader.is_alive()


def memory_problems(pid, max_memory_mb):
    """The process's peak resident memory since it started, as Linux's /proc
    tells it, when it is over the limit: wait4's count would include the
    memory of the harness that forked it."""
    if not max_memory_mb:
        return []
    try:
        with open(f"/proc/{pid}/status") as f:
            peak_kb = int(re.search(r"VmHWM:\s*(\d+)", f.read()).group(1))
    except FileNotFoundError:
        print("peak memory not checked: no /proc on this system")
        return []
    return ([f"peak memory {peak_kb} KB, limit {max_memory_mb} MB"]
            if peak_kb > max_memory_mb * 1024 else [])


def differs(what, got, expected, encoding="utf-8"):
    got = got.decode(encoding, errors="replace")
    at = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b),
              min(len(got), len(expected)))
    return (f"{what} differs at byte {at}:\n  got      "
            f"{got[max(0, at - 60):at + 60]!r}\n  expected "
            f"{expected[max(0, at - 60):at + 60]!r}")


def expected_screen(case, expected, errors):
    """What the console window shows once keno has ended: the output, the
    path line after the not-opened line, and what was typed echoed after the
    prompt, where Ctrl+D is the console's Ctrl+Z and Enter, shown as ^Z."""
    echo = case.typed.decode().replace("\x04", "^Z\n")
    text = expected.replace(NOT_OPENED, NOT_OPENED + errors, 1).replace(
        PROMPT, PROMPT + echo, 1)
    return "\n".join(line.rstrip() for line in text.rstrip().split("\n"))


def read_screen(path):
    """The screen's lines to its last text, as the helper last saved them."""
    with contextlib.suppress(OSError), open(path, encoding="utf-16-le") as f:
        return f.read().rstrip().split("\n")
    return []


def run_in_console(name, keno, folder, case, expected, helper, console_dir,
                   timeout):
    """run_local for keno.exe (its Windows path) in a console window, the
    prefix in console_dir booted by the first case: the output is the
    screen, and Xvfb and Wine's processes end with the run."""
    import fcntl  # POSIX only, as Xvfb is
    os.makedirs(console_dir, exist_ok=True)
    shot = os.path.join(console_dir, name)
    screen = os.path.join(folder, "screen.txt")
    prefix = os.path.join(console_dir, "prefix")
    last_line = expected.split("\n")[-1]
    problems = []
    read_end, write_end = os.pipe()
    with open(os.path.join(console_dir, "lock"), "w") as lock, open(
            shot + ".log", "wb") as log, subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"],
                pass_fds=(write_end,), stdout=log, stderr=log) as xvfb:
        os.close(write_end)
        with os.fdopen(read_end) as f:
            display = f.readline().strip()
        env = dict(os.environ, DISPLAY=f":{display}", WINEPREFIX=prefix,
                   WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

        def run(*command, timeout=60, **options):
            # Every call has a time limit: xdotool given an empty window id
            # would wait forever.
            return subprocess.run(command, env=env, stdout=subprocess.PIPE,
                                  stderr=log, text=True, timeout=timeout,
                                  **options).stdout

        def shown(line):
            # keno's line on screen, or keno ended.
            deadline = time.monotonic() + timeout
            while (line not in read_screen(screen) and keno_run.poll() is None
                   and time.monotonic() < deadline):
                time.sleep(0.1)

        def waiting():
            run("import", "-window", "root", shot + ".waiting.png")
            return ([] if last_line in read_screen(screen) else
                    ["waits without its last line shown"])

        def type_keys(typed):
            # Ctrl+D, a terminal's end of input, is Ctrl+Z and Enter here.
            run("xdotool", "windowfocus", "--sync", console_window)
            for part in filter(None, re.split("([\n\x04])", typed.decode())):
                run("xdotool", *KEYS.get(part, ["type", "--", part]))

        keno_run = None
        try:
            if not display:
                raise faults.Skip("Xvfb did not start")
            fcntl.flock(lock, fcntl.LOCK_EX)
            # A wineserver left by a killed case would serve its display.
            run("wineserver", "-k")
            if not os.path.exists(os.path.join(prefix, "booted")):
                shutil.rmtree(prefix, ignore_errors=True)
                run("wineboot", "-i", check=True, timeout=300)
                run("wineserver", "-w", timeout=300)
                open(os.path.join(prefix, "booted"), "w").close()
            command = (["cmd", "/c", keno, "<", "NUL"]
                       if case.run == "null_input" else [keno])
            keno_run = subprocess.Popen(
                ["wineconsole", full_path(helper, True), "screen.txt",
                 *command], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                stdout=log, stderr=log)
            if case.typed:
                console_window = (run(
                    "xdotool", "search", "--sync", "--onlyvisible", "--name",
                    "keno_console_screen").split() or [""])[0]
                if not console_window:
                    problems.append("no console window appeared")
                else:
                    shown(PROMPT)
                    type_keys(case.typed)
            enter = None if problems else RUNS[case.run][2]
            if enter:
                shown(last_line)
            problems += finish(keno_run, enter, timeout, waiting, type_keys)
        except (subprocess.SubprocessError, OSError) as error:
            problems.append(f"the console could not be driven: {error}")
        finally:
            with contextlib.suppress(subprocess.SubprocessError, OSError):
                run("import", "-window", "root", shot + ".png")
            if keno_run:
                keno_run.kill()
                keno_run.wait()
            with contextlib.suppress(subprocess.SubprocessError, OSError):
                run("wineserver", "-k")
            xvfb.kill()
    status = keno_run.returncode if keno_run else -1
    output = "\n".join(read_screen(screen)).encode(OUTPUT_ENCODING,
                                                   errors="replace")
    return status, output, b"", problems
