#!/usr/bin/python3
"""Latency a person feels, measured on the private Xvfb display under Wine: a key press to the saver's
process gone, the start of Pelluna.scr /S to its first lit ring pixel against a minimal Win32 program's
start to its visible window (alternating runs), and the start of /C to the settings dialog's shading.
Usage: felt_latency.py BUILD_DIR ENV_DIR [--runs N] [--mp3 FILE]   (BUILD_DIR holds Pelluna.scr and
bench/, ENV_DIR is a started tools/testenv folder; with --mp3 a third saver in each round plays that file).
Prints one line per run, then medians as lines "RESULT name value"."""
import argparse
import ctypes
import ctypes.util
import os
import shutil
import statistics
import subprocess
import sys
import time

SAVER_TITLE = "Pelluna_Main"
MINIMAL_TITLE = "Pelluna minimal window"
DIALOG_TITLE = "Pellunaの設定"
LOCALE = "ja_JP.UTF-8"  # code page 932, so the dialog's title reaches X intact
POLL_S = 0.0005  # never sleep more than a millisecond while timing


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XShmSegmentInfo(ctypes.Structure):
    _fields_ = [("shmseg", ctypes.c_ulong), ("shmid", ctypes.c_int), ("shmaddr", ctypes.c_void_p),
                ("readOnly", ctypes.c_int)]


class Screen:
    """The X display through Xlib: whole-screen pixel reads (through shared memory, a few times faster
    than through the socket), top-level windows by title, XTest keys."""

    Z_PIXMAP = 2
    IS_VIEWABLE = 2

    def __init__(self, display_name):
        x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        p, ul, i, u = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint
        x11.XOpenDisplay.restype, x11.XOpenDisplay.argtypes = p, [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype, x11.XDefaultRootWindow.argtypes = ul, [p]
        x11.XGetImage.restype = ctypes.POINTER(XImage)
        x11.XGetImage.argtypes = [p, ul, i, i, u, u, ul, i]
        x11.XFree.argtypes = [p]
        x11.XQueryTree.argtypes = [p, ul, ctypes.POINTER(ul), ctypes.POINTER(ul),
                                   ctypes.POINTER(ctypes.POINTER(ul)), ctypes.POINTER(u)]
        x11.XInternAtom.restype, x11.XInternAtom.argtypes = ul, [p, ctypes.c_char_p, i]
        x11.XGetWindowProperty.argtypes = [p, ul, ul, ctypes.c_long, ctypes.c_long, i, ul, ctypes.POINTER(ul),
                                           ctypes.POINTER(i), ctypes.POINTER(ul), ctypes.POINTER(ul),
                                           ctypes.POINTER(ctypes.c_void_p)]
        x11.XGetWindowAttributes.argtypes = [p, ul, ctypes.POINTER(XWindowAttributes)]
        x11.XKeysymToKeycode.restype, x11.XKeysymToKeycode.argtypes = ctypes.c_ubyte, [p, ul]
        x11.XStringToKeysym.restype, x11.XStringToKeysym.argtypes = ul, [ctypes.c_char_p]
        x11.XFlush.argtypes = [p]
        x11.XSync.argtypes = [p, i]
        xtst.XTestFakeKeyEvent.argtypes = [p, u, i, ul]
        self.x11, self.xtst = x11, xtst
        self.display = x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise SystemExit(f"cannot open display {display_name}")
        self.root = x11.XDefaultRootWindow(self.display)
        self.net_wm_name = x11.XInternAtom(self.display, b"_NET_WM_NAME", 0)
        self.wm_name = x11.XInternAtom(self.display, b"WM_NAME", 0)
        self.width, self.height = self.geometry(self.root)[2:]
        self.black = ctypes.create_string_buffer(self.width * self.height * 4)
        self.libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.libc.memcmp.restype = ctypes.c_int
        self.libc.memcmp.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_size_t]
        self.shared = self.shared_image()

    def shared_image(self):
        """An XImage of the whole screen in a System V shared memory segment, or None without MIT-SHM."""
        xext = ctypes.CDLL(ctypes.util.find_library("Xext"))
        p, ul, i, u = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint
        xext.XShmQueryExtension.argtypes = [p]
        xext.XShmCreateImage.restype = ctypes.POINTER(XImage)
        xext.XShmCreateImage.argtypes = [p, p, u, i, p, ctypes.POINTER(XShmSegmentInfo), u, u]
        xext.XShmAttach.argtypes = [p, ctypes.POINTER(XShmSegmentInfo)]
        xext.XShmGetImage.argtypes = [p, ul, ctypes.POINTER(XImage), i, i, ul]
        self.x11.XDefaultVisual.restype, self.x11.XDefaultVisual.argtypes = p, [p, i]
        self.x11.XDefaultDepth.argtypes = [p, i]
        self.x11.XDefaultScreen.argtypes = [p]
        self.libc.shmget.argtypes = [i, ctypes.c_size_t, i]
        self.libc.shmat.restype, self.libc.shmat.argtypes = p, [i, p, i]
        self.libc.shmctl.argtypes = [i, i, p]
        if not xext.XShmQueryExtension(self.display):
            return None
        screen = self.x11.XDefaultScreen(self.display)
        self.shm_info = XShmSegmentInfo()
        image = xext.XShmCreateImage(self.display, self.x11.XDefaultVisual(self.display, screen),
                                     self.x11.XDefaultDepth(self.display, screen), self.Z_PIXMAP, None,
                                     ctypes.byref(self.shm_info), self.width, self.height)
        if not image:
            return None
        size = image.contents.bytes_per_line * image.contents.height
        ipc_private, ipc_create, ipc_rmid = 0, 0o1000, 0
        self.shm_info.shmid = self.libc.shmget(ipc_private, size, ipc_create | 0o600)
        if self.shm_info.shmid < 0:
            return None
        address = self.libc.shmat(self.shm_info.shmid, None, 0)
        self.shm_info.shmaddr = address
        image.contents.data = address
        self.shm_info.readOnly = 0
        if not xext.XShmAttach(self.display, ctypes.byref(self.shm_info)):
            return None
        self.x11.XSync(self.display, 0)
        # Marked for removal now: the segment goes when both sides have detached, even if this dies.
        self.libc.shmctl(self.shm_info.shmid, ipc_rmid, None)
        self.xext, self.shm_size = xext, size
        return image

    def grab(self, x=0, y=0, width=None, height=None):
        """The pixels of a rectangle of the screen as 32-bit BGRX bytes, row by row."""
        width = self.width if width is None else width
        height = self.height if height is None else height
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height, 0xFFFFFFFF, self.Z_PIXMAP)
        if not image:
            return b""
        try:
            contents = image.contents
            return ctypes.string_at(contents.data, contents.bytes_per_line * contents.height)
        finally:
            self.x11.XFree(image.contents.data)
            self.x11.XFree(image)

    def lit(self):
        """Whether any pixel of the whole screen is not black."""
        if self.shared is None:
            return self.grab() != self.black.raw
        self.xext.XShmGetImage(self.display, self.root, self.shared, 0, 0, 0xFFFFFFFF)
        self.x11.XSync(self.display, 0)
        return self.libc.memcmp(self.shm_info.shmaddr, self.black, self.shm_size) != 0

    def geometry(self, window):
        attributes = XWindowAttributes()
        if not self.x11.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        return attributes.x, attributes.y, attributes.width, attributes.height

    def viewable(self, window):
        attributes = XWindowAttributes()
        return (self.x11.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)) and
                attributes.map_state == self.IS_VIEWABLE)

    def title(self, window):
        for atom in (self.net_wm_name, self.wm_name):
            kind, size_format = ctypes.c_ulong(), ctypes.c_int()
            count, remaining, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
            status = self.x11.XGetWindowProperty(self.display, window, atom, 0, 1024, 0, 0, ctypes.byref(kind),
                                                 ctypes.byref(size_format), ctypes.byref(count),
                                                 ctypes.byref(remaining), ctypes.byref(data))
            if status == 0 and data.value:
                text = ctypes.string_at(data.value, count.value) if size_format.value == 8 else b""
                self.x11.XFree(data)
                if text:
                    return text.decode("utf-8", errors="replace")
        return None

    def shown_window(self, title):
        """A mapped top-level window with exactly that title (Wine's windows are the root's children here:
        there is no window manager), or None."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x11.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(children), ctypes.byref(count)):
            return None
        try:
            for index in range(count.value):
                window = children[index]
                if self.title(window) == title and self.viewable(window):
                    return window
        finally:
            if children:
                self.x11.XFree(children)
        return None

    def press(self, key):
        """One press and release of a key through XTest; returns the time just before the press."""
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(key.encode()))
        pressed_at = time.perf_counter()
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XFlush(self.display)
        return pressed_at


def read_env(env_dir):
    env = dict(os.environ)
    with open(os.path.join(env_dir, "env.sh"), encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("export "):
                name, value = line[len("export "):].strip().split("=", 1)
                env[name] = value.strip('"')
    env.update(LC_ALL=LOCALE, LANG=LOCALE)
    return env


def install(build_dir, name, settings=None):
    """A copy of Pelluna.scr in a folder of its own; without settings it runs with its defaults."""
    folder = os.path.join(build_dir, "latency", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(build_dir, "Pelluna.scr"), folder)
    if settings:
        lines = ["[Section]"] + [f"{key}={value}" for key, value in settings.items()]
        with open(os.path.join(folder, "Pelluna.ini"), "wb") as ini:
            ini.write(("\r\n".join(lines) + "\r\n").encode("cp932"))  # the code page of LOCALE
    return os.path.join(folder, "Pelluna.scr")


class Bench:
    def __init__(self, build_dir, env_dir):
        self.env = read_env(env_dir)
        self.screen = Screen(self.env["DISPLAY"])
        self.folder = os.path.join(build_dir, "latency")
        self.scr = install(build_dir, "defaults")
        self.minimal = os.path.join(build_dir, "bench", "pelluna_minimal_window.exe")

    def start(self, program, *args):
        """Starts a Windows program; returns it and the time just before it was started."""
        started_at = time.perf_counter()
        process = subprocess.Popen(["setarch", "-R", "wine", program, *args], env=self.env, cwd=self.folder,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        return process, started_at

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.split()

    def wait(self, condition, seconds, what):
        deadline = time.perf_counter() + seconds
        while not condition():
            if time.perf_counter() > deadline:
                raise SystemExit(f"timed out waiting for {what}")
            time.sleep(POLL_S)

    def has_focus(self, title):
        focus = self.xdotool("getwindowfocus")
        return bool(focus) and focus[0] in self.xdotool("search", "--name", f"^{title}$")

    def first_light(self, process, started_at, title):
        """Milliseconds from the start to the window's mapping and to the first lit pixel on the screen
        (each read of the whole screen takes a few milliseconds: the time is when that read ended)."""
        window_ms = None
        deadline = started_at + 20
        while True:
            lit = self.screen.lit()
            now = time.perf_counter()
            if window_ms is None and self.screen.shown_window(title):
                window_ms = (now - started_at) * 1000
            if lit:
                if window_ms is None:
                    raise SystemExit(f"the screen lit up before a window titled {title!r} showed")
                return window_ms, (now - started_at) * 1000
            if process.poll() is not None or now > deadline:
                raise SystemExit(f"nothing lit on the screen ({title!r} ended or took over 20 s)")

    def key_to_gone(self, process, title):
        """Milliseconds from a key press (once the window has the keyboard) to the process gone."""
        self.wait(lambda: self.has_focus(title), 10, f"{title!r} to take the keyboard focus")
        pressed_at = self.screen.press("space")
        while process.poll() is None:
            if time.perf_counter() - pressed_at > 10:
                process.kill()
                raise SystemExit(f"a key press did not end {title!r} within 10 s")
            time.sleep(POLL_S)
        return (time.perf_counter() - pressed_at) * 1000

    def one_start(self, program, args, title):
        self.wait(lambda: not self.screen.lit(), 10, "a black screen")
        process, started_at = self.start(program, *args)
        try:
            window_ms, lit_ms = self.first_light(process, started_at, title)
            gone_ms = self.key_to_gone(process, title)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        return window_ms, lit_ms, gone_ms

    def dialog_shading(self):
        """Milliseconds from the start of /C to the dialog's grey shading on the screen (its brightest rows,
        grey 246 to 250, in the middle of the window), or None when /C ends without a dialog."""
        self.wait(lambda: not self.screen.lit(), 10, "a black screen")
        process, started_at = self.start(self.scr, "/C")
        try:
            while time.perf_counter() - started_at < 20:
                window = self.screen.shown_window(DIALOG_TITLE)
                if window is None:
                    if process.poll() is not None:
                        return None
                    time.sleep(POLL_S)
                    continue
                if self.shading_shown(window):
                    return (time.perf_counter() - started_at) * 1000
            raise SystemExit("the dialog showed no shading within 20 s")
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()

    def shading_shown(self, window):
        geometry = self.screen.geometry(window)
        if geometry is None:
            return False
        x, y, width, height = geometry
        band = max(4, height // 20)  # rows around the middle, where the shading is at its brightest
        top = max(0, y + height // 2 - band)
        left, right = max(0, x), min(self.screen.width, x + width)
        if right <= left or height <= 0:
            return False
        pixels = self.screen.grab(left, top, right - left, 2 * band)
        for i in range(0, len(pixels), 4):
            b, g, r = pixels[i], pixels[i + 1], pixels[i + 2]
            if r == g == b and 246 <= r <= 250:
                return True
        return False


def median(values):
    return statistics.median(values) if values else None


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument("build_dir")
    arguments.add_argument("env_dir")
    arguments.add_argument("--runs", type=int, default=5)
    arguments.add_argument("--mp3")
    options = arguments.parse_args()
    if options.runs < 5:
        raise SystemExit("at least 5 runs")
    build_dir = os.path.abspath(options.build_dir)
    bench = Bench(build_dir, os.path.abspath(options.env_dir))
    mp3_scr = None
    if options.mp3:
        music = "Z:" + os.path.abspath(options.mp3).replace("/", "\\")
        mp3_scr = install(build_dir, "mp3", {"BGM区分": " 2", "BGMﾌｧｲﾙ": music})
    minimal, saver, saver_mp3 = [], [], []
    for run in range(1, options.runs + 1):
        # Alternating, so a slow spell of the machine falls on each kind of run alike.
        minimal.append(bench.one_start(bench.minimal, [], MINIMAL_TITLE))
        saver.append(bench.one_start(bench.scr, ["/S"], SAVER_TITLE))
        (mw, ml, mg), (sw, sl, sg) = minimal[-1], saver[-1]
        line = (f"run {run}: minimal program: window {mw:.0f} ms, visible {ml:.0f} ms, key to gone {mg:.1f} ms; "
                f"saver: window {sw:.0f} ms, first ring {sl:.0f} ms, key to gone {sg:.1f} ms")
        if mp3_scr:
            saver_mp3.append(bench.one_start(mp3_scr, ["/S"], SAVER_TITLE))
            line += f"; saver with MP3: key to gone {saver_mp3[-1][2]:.1f} ms"
        print(line, flush=True)
    dialog = []
    for run in range(1, options.runs + 1):
        shading = bench.dialog_shading()
        print(f"/C run {run}: " + ("no dialog" if shading is None else f"dialog shading {shading:.0f} ms"),
              flush=True)
        if shading is None:
            break  # /C ended without a dialog: nothing more to time
        dialog.append(shading)

    minimal_visible = median([m[1] for m in minimal])
    saver_window = median([s[0] for s in saver])
    saver_ring = median([s[1] for s in saver])
    saver_gone = median([s[2] for s in saver])
    minimal_gone = median([m[2] for m in minimal])
    print(f"RESULT minimal_start_to_visible_ms {minimal_visible:.0f}")
    print(f"RESULT saver_start_to_window_ms {saver_window:.0f}")
    print(f"RESULT saver_start_to_first_ring_ms {saver_ring:.0f}")
    print(f"RESULT first_ring_over_minimal_ms {saver_ring - minimal_visible:.0f}")
    # The saver's window is black: from its mapping to the first ring is the first drop's fall.
    print(f"RESULT saver_window_to_first_ring_ms {median([s[1] - s[0] for s in saver]):.0f}")
    print(f"RESULT saver_key_to_gone_ms {saver_gone:.1f}")
    print(f"RESULT minimal_key_to_gone_ms {minimal_gone:.1f}")
    if saver_mp3:
        print(f"RESULT saver_with_mp3_key_to_gone_ms {median([s[2] for s in saver_mp3]):.1f}")
    print("RESULT dialog_start_to_shading_ms " + (f"{median(dialog):.0f}" if dialog else "no-dialog"))


if __name__ == "__main__":
    main()
