#!/usr/bin/env python3
"""How fast the watcher (scan_interval=0, its page and Modbus server, a history file) shows a
break, on a simulated ring at wire speed (9600 baud): for each ring size, REPEAT times, channel 1 of
a module chosen at random goes faulty at a moment chosen at random, through the simulator's control
input; the time until the page shows it and until Modbus register 2 does, each polled every 5 ms.
The simulator's modules, like the ring's, tell their state when the G reaches them: a break is in
the answer to the next G, which comes at most a scan (wire time + the second of quiet, polled every
0.1 s) after it, and module m's reply is m replies into that answer; each break is also held
against that bound, plus 0.2 s for the poll that reads the reply.
Then, on the 150-module ring, the time of reads of 125 registers while the scans run.
Prints table rows.
Usage: break_latency.py ZEPHLINK9_SETUP ZEPHLINK9_RINGSIM [--repeat N] [--modules 8,150,1000] [--reads N]"""
import argparse, os, random, shutil, socket, statistics, struct, subprocess, sys, tempfile, threading, time, urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
from loopback import free_port, page  # noqa: E402

parser = argparse.ArgumentParser()
parser.add_argument("program")
parser.add_argument("ringsim")
parser.add_argument("--repeat", type=int, default=5)
parser.add_argument("--modules", default="8,150,1000")
parser.add_argument("--reads", type=int, default=2000)
args = parser.parse_args()


def wire_seconds(modules):
    return modules * 11 * 10 / 9600


class Registers:
    def __init__(self, port):
        self.port, self.socket, self.transaction = port, None, 0

    def read(self, first, count):
        for _ in range(2):
            try:
                if self.socket is None:
                    self.socket = socket.create_connection(("127.0.0.1", self.port), timeout=2)
                self.transaction = (self.transaction + 1) & 0xFFFF
                self.socket.sendall(struct.pack(">HHHBBHH", self.transaction, 0, 6, 1, 3, first, count))
                want, data = 9 + 2 * count, b""
                while len(data) < want:
                    chunk = self.socket.recv(want - len(data))
                    if not chunk:
                        raise OSError("closed")
                    data += chunk
                return struct.unpack(f">{count}H", data[9:])
            except OSError:
                if self.socket:
                    self.socket.close()
                self.socket = None
        return None


def until(condition, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return time.time()
        time.sleep(0.005)
    return float("nan")


def watch(modules, work):
    sim = subprocess.Popen([args.ringsim, "--modules", str(modules)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL)
    device = sim.stdout.readline().decode().strip()
    page_port, modbus_port = free_port(), free_port()
    ini = os.path.join(work, f"ring{modules}.ini")
    with open(ini, "w") as f:
        f.write(f"[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1={device}\nmetrics={page_port}\nmodbus={modbus_port}\n"
                f"scan_interval=0\nhistory={work}/ring{modules}.sqlite\n")
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    watcher = subprocess.Popen([args.program, "--headless", "--config", ini], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=environment)
    registers = Registers(modbus_port)
    until(lambda: (r := registers.read(0, 2)) is not None and r[1] == modules, 3 * wire_seconds(modules) + 10)
    return sim, watcher, page_port, registers


def stop(*processes):
    for process in processes:
        process.terminate()
        process.wait()


def breaks(modules, work):
    sim, watcher, page_port, registers = watch(modules, work)
    scan = wire_seconds(modules) + 1
    to_page, to_register, bounds = [], [], []
    for _ in range(args.repeat):
        module = random.randint(1, modules)
        time.sleep(random.uniform(0, scan))
        series = f'zephlink9_channel_faulty{{module="{module}",channel="1"}} '
        shown = {}
        def on_page():
            shown["page"] = until(lambda: series + "1" in page(page_port), 3 * scan + 5)
        poller = threading.Thread(target=on_page)
        sim.stdin.write(f"fault {module} 1 on\n".encode())
        sim.stdin.flush()
        broke = time.time()
        poller.start()
        shown["register"] = until(lambda: (r := registers.read(2, 1)) is not None and r[0] >= 1, 3 * scan + 5)
        poller.join()
        bounds.append(wire_seconds(modules) + 1.1 + wire_seconds(module) + 0.2)
        to_page.append(shown["page"] - broke)
        to_register.append(shown["register"] - broke)
        sim.stdin.write(f"fault {module} 1 off\n".encode())
        sim.stdin.flush()
        until(lambda: (r := registers.read(2, 1)) is not None and r[0] == 0, 3 * scan + 5)
    stop(watcher, sim)
    return to_page, to_register, bounds


def reads(work):
    sim, watcher, _, registers = watch(150, work)
    took = []
    for _ in range(args.reads):
        start = time.perf_counter()
        assert registers.read(100, 125) is not None
        took.append(time.perf_counter() - start)
    stop(watcher, sim)
    took.sort()
    return took


work = tempfile.mkdtemp(prefix="zephlink9-break-")
try:
    for modules in map(int, args.modules.split(",")):
        to_page, to_register, bounds = breaks(modules, work)
        wire = wire_seconds(modules)
        each = lambda xs: ", ".join(f"{x:.2f}" for x in xs) + f"; median {statistics.median(xs):.2f}"
        within = sum(max(p, r) <= wire + 1.2 for p, r in zip(to_page, to_register))
        bounded = sum(max(p, r) <= b for p, r, b in zip(to_page, to_register, bounds))
        print(f"| {modules} modules (wire time {wire:.2f} s; target {wire + 1.2:.2f} s) | page: {each(to_page)} s | "
              f"register 2: {each(to_register)} s | {within} of {len(to_page)} | {bounded} of {len(to_page)} "
              f"(bounds {', '.join(f'{b:.2f}' for b in bounds)} s) |")
    took = reads(work)
    p = lambda q: took[min(len(took) - 1, int(q * len(took)))] * 1000
    print(f"| a read of registers 100 to 224 (125), 150 modules at wire speed, scan_interval=0, one connection "
          f"(median / 95th percentile / slowest of {len(took)}) | {p(0.5):.2f} ms / {p(0.95):.2f} ms / {took[-1] * 1000:.2f} ms |")
finally:
    shutil.rmtree(work, ignore_errors=True)
