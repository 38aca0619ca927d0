#!/usr/bin/env python3
"""Two rings on one PC: two watchers, each on its own simulator with its own page and Modbus
server, sharing one history file. Pulling one adapter (its simulator killed) leaves the other's
scans, page and registers untouched, and the pulled one's register 0 reads 0; a third watcher on a
port already taken says so, keeps looking, takes nothing away from the watcher that holds it, and
takes the port once that watcher has ended.
Usage: two_rings.py ZEPHLINK9_SETUP ZEPHLINK9_RINGSIM
Exit 77 (skipped) only when a program is missing.
"""
import ctypes
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from loopback import free_port, page, stop, wait_for  # noqa: E402

PR_SET_PDEATHSIG = 1


def registers(port, first, count):
    """Holding registers read over Modbus TCP (function 03, unit 1); None when not answered."""
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
            s.sendall(struct.pack(">HHHBBHH", 1, 0, 6, 1, 3, first, count))
            want, data = 9 + 2 * count, b""
            while len(data) < want and (chunk := s.recv(want - len(data))):
                data += chunk
    except OSError:
        return None
    return list(struct.unpack(f">{count}H", data[9:])) if len(data) == want and data[7] == 3 else None


def ring_registers(port, count):
    """Registers 0 to 7 without the two that move with every scan (5: seconds since it, 6: scans),
    and each module's ten."""
    head = registers(port, 0, 8)
    return head and head[:5] + head[7:] + registers(port, 100, 10 * count)


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
        port, modbus = free_port(), free_port()
        ini = os.path.join(self.dir, name + ".ini")
        with open(ini, "w") as f:
            f.write(f"[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1={device}\nmetrics={port}\nmodbus={modbus}\n"
                    "scan_interval=0\nhistory=rings.sqlite\n")
        out = open(os.path.join(self.dir, name + ".out"), "w+")
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        process = self.start([self.program, "--headless", "--config", ini], stdout=out, stderr=subprocess.STDOUT,
                             stdin=subprocess.DEVNULL, env=environment)
        return process, port, modbus, out.name

    def close(self):
        stop(self.processes)
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
        north, north_port, north_modbus, _ = rings.watcher("north", north_device)
        south, south_port, south_modbus, south_out = rings.watcher("south", south_device)
        wait_for("both rings on their pages and registers", lambda: "\nzephlink9_ring_modules 4\n" in page(north_port)
                 and "\nzephlink9_ring_modules 6\n" in page(south_port)
                 and registers(north_modbus, 0, 2) == [1, 4] and registers(south_modbus, 0, 2) == [1, 6], 30)

        # A third watcher on the south ring's port: in use, told so, and it keeps looking.
        third, third_port, third_modbus, third_out = rings.watcher("south-again", south_device)
        wait_for("the third watcher to say the port is in use", lambda: "in use by another program" in read(third_out), 10)
        assert "\nzephlink9_port_open 0\n" in page(third_port)
        assert registers(third_modbus, 0, 2) == [0, 0], registers(third_modbus, 0, 2)

        south_before = page(south_port)
        south_registers = ring_registers(south_modbus, 6)
        south_lines = read(south_out)
        sim_north.send_signal(signal.SIGKILL)
        sim_north.wait()
        wait_for("the north watcher to lose its port", lambda: "\nzephlink9_port_open 0\n" in page(north_port), 10)
        wait_for("the north watcher's register 0 to read 0", lambda: registers(north_modbus, 0, 1) == [0], 5)
        scanned = scans(south_before)
        wait_for("two more scans of the south ring", lambda: scans(page(south_port)) >= scanned + 2, 10)
        south_after = page(south_port)
        assert "\nzephlink9_port_open 1\n" in south_after, "the south watcher lost its port"
        assert modules(south_after) == modules(south_before), "the south ring's page changed"
        assert ring_registers(south_modbus, 6) == south_registers, "the south ring's registers changed"
        assert read(south_out) == south_lines, f"the south watcher told something: {read(south_out)[len(south_lines):]}"
        assert "\nzephlink9_port_open 0\n" in page(third_port), "the third watcher took the port"
        for name, process in (("north", north), ("south", south), ("third", third)):
            assert process.poll() is None, f"the {name} watcher ended with {process.returncode}"

        # The south watcher ends: the third one, still looking, takes the port and scans the ring.
        south.terminate()
        south.wait(5)
        wait_for("the third watcher to take the freed port", lambda: "\nzephlink9_ring_modules 6\n" in page(third_port)
                 and registers(third_modbus, 0, 2) == [1, 6], 10)
        print("two rings on one PC: the pulled adapter touched only its own ring")
        return 0
    finally:
        rings.close()


if __name__ == "__main__":
    sys.exit(main())
