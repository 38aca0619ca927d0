#!/usr/bin/env python3
"""The watcher of a 150-module ring at wire speed, scraped by a real Prometheus every 2 s, first
left alone for QUIET seconds, then under bench/hostile_clients.py for HOSTILE seconds (its page, and
its Modbus server where it has one). Prints table rows: the scrapes as Prometheus saw them, the
watcher's resident memory, the scans' rhythm from the simulator's trace, and the hostile clients'
own asks.
Usage: hostile_load.py ZEPHLINK9_SETUP ZEPHLINK9_RINGSIM [--no-modbus] [--quiet S] [--hostile S]"""
import argparse, json, os, shutil, socket, subprocess, sys, tempfile, threading, time, urllib.parse, urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
from loopback import free_port, stop  # noqa: E402

parser = argparse.ArgumentParser()
parser.add_argument("program")
parser.add_argument("ringsim")
parser.add_argument("--no-modbus", action="store_true")
parser.add_argument("--quiet", type=float, default=30)
parser.add_argument("--hostile", type=float, default=60)
args = parser.parse_args()
here = os.path.dirname(os.path.abspath(__file__))


def query(prom, expression, at):
    url = f"http://127.0.0.1:{prom}/api/v1/query?" + urllib.parse.urlencode({"query": expression, "time": at})
    with urllib.request.urlopen(url, timeout=10) as answer:
        result = json.load(answer)["data"]["result"]
    return float(result[0]["value"][1]) if result else float("nan")


def rss(pid, field):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith(field + ":"))


work = tempfile.mkdtemp(prefix="zephlink9-hostile-")
processes = []
try:
    trace = []
    sim = subprocess.Popen([args.ringsim, "--modules", "150", "--trace"], stdin=subprocess.PIPE,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    processes.append(sim)
    device = sim.stdout.readline().decode().strip()
    threading.Thread(target=lambda: [trace.append((time.time(), line)) for line in sim.stderr], daemon=True).start()

    page_port, modbus_port, prom_port = free_port(), free_port(), free_port()
    ini = os.path.join(work, "watch.ini")
    with open(ini, "w") as f:
        f.write(f"[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1={device}\nmetrics={page_port}\nhistory=off\n")
        if not args.no_modbus:
            f.write(f"modbus={modbus_port}\n")
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    watcher = subprocess.Popen([args.program, "--headless", "--config", ini], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=environment)
    processes.append(watcher)

    with open(os.path.join(work, "prometheus.yml"), "w") as f:
        f.write(f"global:\n  scrape_interval: 2s\n  scrape_timeout: 2s\nscrape_configs:\n"
                f"  - job_name: zephlink9\n    static_configs:\n      - targets: ['127.0.0.1:{page_port}']\n")
    prometheus = subprocess.Popen(["prometheus", f"--config.file={work}/prometheus.yml", f"--storage.tsdb.path={work}/tsdb",
                                   f"--web.listen-address=127.0.0.1:{prom_port}"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    processes.append(prometheus)

    samples = []
    sampling = True

    def sample():
        while sampling and watcher.poll() is None:
            samples.append((time.time(), rss(watcher.pid, "VmRSS")))
            time.sleep(0.2)
    sampler = threading.Thread(target=sample, daemon=True)
    sampler.start()

    time.sleep(args.quiet)
    quiet_end = time.time()
    hostile = subprocess.run([sys.executable, os.path.join(here, "hostile_clients.py"), str(page_port), str(args.hostile)]
                             + ([] if args.no_modbus else [str(modbus_port)]), capture_output=True, text=True)
    hostile_end = time.time()
    time.sleep(4)  # the last scrapes of the hostile minute land
    sampling = False
    sampler.join()
    alive = watcher.poll() is None
    peak = rss(watcher.pid, "VmHWM") if alive else 0

    window = f"{int(args.hostile)}s"
    up_sum = query(prom_port, f"sum_over_time(up[{window}])", hostile_end)
    up_count = query(prom_port, f"count_over_time(up[{window}])", hostile_end)
    slowest_scrape = query(prom_port, f"max_over_time(scrape_duration_seconds[{window}])", hostile_end)
    fewest_samples = query(prom_port, f"min_over_time(scrape_samples_scraped[{window}])", hostile_end)
    quiet_samples = query(prom_port, "max_over_time(scrape_samples_scraped[20s])", quiet_end)
    with urllib.request.urlopen(f"http://127.0.0.1:{prom_port}/metrics", timeout=10) as answer:
        failures = [line for line in answer.read().decode().splitlines()
                    if line.startswith("prometheus_target_scrapes_") and not line.endswith(" 0")]

    scans = [t for t, line in trace if b"command G" in line]
    def gaps(inside):
        g = [b - a for a, b in zip(scans, scans[1:]) if (quiet_end <= a and b <= hostile_end) == inside]
        return f"{min(g):.2f} to {max(g):.2f} s ({len(g)})" if g else "none"
    rss_quiet = max(kib for t, kib in samples if t < quiet_end)
    rss_hostile = max((kib for t, kib in samples if quiet_end <= t <= hostile_end), default=0)

    print(f"| scrapes by Prometheus (every 2 s) during the hostile {window}: up = 1 | {up_sum:.0f} of {up_count:.0f}; "
          f"slowest scrape {slowest_scrape * 1000:.0f} ms; fewest samples in a scrape {fewest_samples:.0f} "
          f"(before: {quiet_samples:.0f}); prometheus_target_scrapes_* not 0: {', '.join(failures) or 'none'} |")
    print(f"| resident memory: highest before / under the hostile clients / peak of the run (VmHWM) | "
          f"{rss_quiet / 1024:.1f} / {rss_hostile / 1024:.1f} / {peak / 1024:.1f} MiB"
          f"{'' if alive else ' (the watcher ended: ' + str(watcher.returncode) + ')'} |")
    print(f"| from one scan's G to the next (simulator's trace): before; under the hostile clients | {gaps(False)}; {gaps(True)} |")
    for line in hostile.stdout.splitlines():
        print(f"| the hostile clients' own asks, once a second: {line.split(': ', 1)[0]} | {line.split(': ', 1)[1]} |")
finally:
    stop(processes)
    shutil.rmtree(work, ignore_errors=True)
