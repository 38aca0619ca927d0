#!/usr/bin/env python3
"""Two rings on one PC: two watchers, each on its own simulator with its own page, sharing one
history file. Pulling one adapter (its simulator killed) leaves the other's scans and page
untouched; a third watcher on a port already taken says so, keeps looking, and takes nothing away
from the watcher that holds it.
Usage: two_rings.py ZEPHLINK9_SETUP ZEPHLINK9_RINGSIM
Exit 77 (skipped) only when a program is missing.
"""
import ctypes
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

PR_SET_PDEATHSIG = 1


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, condition, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out after {timeout} s waiting for {what}")


def page(port):
    try:
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/metrics", timeout=2) as answer:
            return answer.read().decode()
    except OSError:
        return ""


def scans(text):
    return sum(int(n) for n in re.findall(r"^zephlink9_scans_total\{[^}]*\} (\d+)$", text, re.M))


def modules(text):
    return [line for line in text.splitlines() if line.startswith(("zephlink9_module_", "zephlink9_channel_"))]


class Rings:
    def __init__(self, program, ringsim):
        self.program, self.ringsim = program, ringsim
        self.dir = tempfile.mkdtemp(prefix="zephlink9-two-rings-")
        self.processes = []

    def start(self, args, **kwargs):
        die_with_test = lambda: ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
        process = subprocess.Popen(args, preexec_fn=die_with_test, **kwargs)
        self.processes.append(process)
        return process

    def simulator(self, name, count):
        ring = os.path.join(self.dir, name + ".txt")
        with open(ring, "w") as f:
            f.write("".join(f"id={100 * len(self.processes) + k} side={'G' if k == 1 else 'L'}\n" for k in range(1, count + 1)))
        sim = self.start([self.ringsim, "--ring", ring], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         stdin=subprocess.PIPE)
        device = sim.stdout.readline().decode().strip()
        assert device.startswith("/"), f"the simulator said: {device}"
        return sim, device

    def watcher(self, name, device):
        port = free_port()
        ini = os.path.join(self.dir, name + ".ini")
        with open(ini, "w") as f:
            f.write(f"[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1={device}\nmetrics={port}\nscan_interval=0\n"
                    "history=rings.sqlite\n")
        out = open(os.path.join(self.dir, name + ".out"), "w+")
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        process = self.start([self.program, "--headless", "--config", ini], stdout=out, stderr=subprocess.STDOUT,
                             stdin=subprocess.DEVNULL, env=environment)
        return process, port, out.name

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


def read(path):
    with open(path) as f:
        return f.read()


def main():
    program, ringsim = sys.argv[1:]
    for built in (program, ringsim):
        if not os.access(built, os.X_OK):
            print(f"skipped: {built} is not built")
            return 77
    rings = Rings(program, ringsim)
    try:
        sim_north, north_device = rings.simulator("north", 4)
        _, south_device = rings.simulator("south", 6)
        north, north_port, _ = rings.watcher("north", north_device)
        south, south_port, south_out = rings.watcher("south", south_device)
        wait_for("both rings on their pages", lambda: "\nzephlink9_ring_modules 4\n" in page(north_port)
                 and "\nzephlink9_ring_modules 6\n" in page(south_port), 30)

        # A third watcher on the south ring's port: in use, told so, and it keeps looking.
        third, third_port, third_out = rings.watcher("south-again", south_device)
        wait_for("the third watcher to say the port is in use", lambda: "in use by another program" in read(third_out), 10)
        assert "\nzephlink9_port_open 0\n" in page(third_port)

        south_before = page(south_port)
        south_lines = read(south_out)
        sim_north.send_signal(signal.SIGKILL)
        sim_north.wait()
        wait_for("the north watcher to lose its port", lambda: "\nzephlink9_port_open 0\n" in page(north_port), 10)
        scanned = scans(south_before)
        wait_for("two more scans of the south ring", lambda: scans(page(south_port)) >= scanned + 2, 10)
        south_after = page(south_port)
        assert "\nzephlink9_port_open 1\n" in south_after, "the south watcher lost its port"
        assert modules(south_after) == modules(south_before), "the south ring's page changed"
        assert read(south_out) == south_lines, f"the south watcher told something: {read(south_out)[len(south_lines):]}"
        assert "\nzephlink9_port_open 0\n" in page(third_port), "the third watcher took the port"
        for name, process in (("north", north), ("south", south), ("third", third)):
            assert process.poll() is None, f"the {name} watcher ended with {process.returncode}"
        print("two rings on one PC: the pulled adapter touched only its own ring")
        return 0
    finally:
        rings.close()


if __name__ == "__main__":
    sys.exit(main())
