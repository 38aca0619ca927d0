#!/usr/bin/env python3
"""Alerts that reach a person, end to end: the watcher on the ring simulator, a real Prometheus
with the shipped rules, two real Alertmanagers with the shipped configuration, and a mail sink of
this test, all on the loopback address with their own temporary files.

The rules run with every minute read as two seconds. Alertmanager keeps the shipped wait before
a critical alert's first message (it gathers the modules of a cut ring into one), and waits a
second where else it waits longer. One Alertmanager is in quiet hours now, the other never is:
  - a channel breaks: one e-mail naming the module and the channel, from both;
  - its repair: the resolved e-mail;
  - an error counter jumps (a warning): an e-mail outside quiet hours only;
  - the fibre is cut after module 3: one e-mail naming the five modules beyond;
  - the simulator is killed (the adapter pulled): one e-mail for the ring.
Usage: alerts_e2e.py MONITORING_DIR ZEPHLINK9_SETUP ZEPHLINK9_RINGSIM [--repeat N] [--modules N]
With --repeat N only the break is tried, N times on fresh servers, and the time from break to
e-mail is printed;
--modules N makes the ring that long (8 by default).
Exit 77 (skipped) only when a program or module it needs is missing.
"""
import copy
import ctypes
import email
import email.policy
import http.server
import json
import os
import re
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from loopback import free_port, page, stop, wait_for  # noqa: E402

SKIP = 77
PR_SET_PDEATHSIG = 1
MINUTE = 2  # seconds of the test for a minute of the shipped rules


def skip(what):
    print(f"skipped: {what} is not installed")
    sys.exit(SKIP)


try:
    import yaml
except ImportError:
    skip("python3-yaml")
try:
    from aiosmtpd.controller import Controller
except ImportError:
    skip("python3-aiosmtpd")


class MailSink:
    """Keeps every message with the time it arrived."""

    def __init__(self):
        self.mails = []
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        part = message.get_body(preferencelist=("plain",))
        with self.lock:
            self.mails.append({"at": time.monotonic(), "to": envelope.rcpt_tos[0], "subject": str(message["Subject"]),
                               "text": part.get_content() if part else ""})
        return "250 OK"

    def to(self, address, since=0.0):
        with self.lock:
            return [m for m in self.mails if m["to"] == address and m["at"] >= since]


class HookSink(http.server.BaseHTTPRequestHandler):
    posts = []

    def do_POST(self):
        HookSink.posts.append(json.loads(self.rfile.read(int(self.headers["Content-Length"]))))
        self.send_response(200)
        self.end_headers()

    def log_message(self, *args):
        pass


def scaled_rules(text):
    """The shipped rules with every minute read as MINUTE seconds (hours as 60 minutes)."""
    def seconds(match):
        n = int(match.group(1)) * (60 if match.group(2) == "h" else 1) * MINUTE
        return f"{n}s"
    return re.sub(r"\b(\d+)([mh])\b(?=[\]\s]|$)", seconds, text, flags=re.M)


def alertmanager_config(shipped, smtp_port, hook_port, to, quiet_now):
    config = copy.deepcopy(shipped)
    config["global"].update(smtp_smarthost=f"127.0.0.1:{smtp_port}", smtp_require_tls=False)
    config["route"]["group_wait"] = "1s"
    for route in [config["route"]] + config["route"]["routes"]:
        route["group_interval"] = "1s"
    for receiver in config["receivers"]:
        for mail in receiver.get("email_configs", []):
            mail["to"] = to
        for hook in receiver.get("webhook_configs", []):
            hook["url"] = f"http://127.0.0.1:{hook_port}/"
    always = [{"times": [{"start_time": "00:00", "end_time": "24:00"}]}]
    never = [{"years": ["2000"]}]
    for interval in config["time_intervals"]:
        if interval["name"] == "quiet-hours":
            interval["time_intervals"] = always if quiet_now else never
    return config


class Run:
    def __init__(self, monitoring, program, ringsim, modules):
        self.monitoring, self.program, self.ringsim, self.modules = monitoring, program, ringsim, modules
        self.dir = tempfile.mkdtemp(prefix="zephlink9-alerts-")
        self.processes = []

    def start(self, args, **kwargs):
        log = open(os.path.join(self.dir, os.path.basename(args[0]) + f"-{len(self.processes)}.log"), "wb")
        # Each ends with the test, however the test ends.
        die_with_test = lambda: ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
        process = subprocess.Popen(args, stdout=kwargs.pop("stdout", log), stderr=log, preexec_fn=die_with_test, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        stop(self.processes)
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def control(self, line):
        self.sim.stdin.write((line + "\n").encode())
        self.sim.stdin.flush()

    def query(self, expression):
        url = f"http://127.0.0.1:{self.prometheus_port}/api/v1/query?query=" + urllib.parse.quote(expression)
        try:
            with urllib.request.urlopen(url, timeout=2) as answer:
                return json.load(answer)["data"]["result"]
        except OSError:
            return []

    def page(self):
        return page(self.metrics_port)

    def setup(self):
        self.mails = MailSink()
        self.smtp = Controller(self.mails, hostname="127.0.0.1", port=free_port())
        self.smtp.start()
        self.hooks = http.server.ThreadingHTTPServer(("127.0.0.1", 0), HookSink)
        threading.Thread(target=self.hooks.serve_forever, daemon=True).start()

        # The simulator at wire speed (9600 baud), the watcher scanning at once after each scan.
        ring = self.write("ring.txt", "".join(f"id={k} side={'G' if k == 1 else 'L'}\n" for k in range(1, self.modules + 1)))
        self.sim = self.start([self.ringsim, "--ring", ring], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        device = self.sim.stdout.readline().decode().strip()
        assert device.startswith("/"), f"the simulator said: {device}"
        threading.Thread(target=lambda: self.sim.stdout.read(), daemon=True).start()
        self.metrics_port = free_port()
        ini = self.write("ring-test.ini", f"[ZEPHLINK9 Setup Tool]\ncomport=1\nCOM1={device}\n"
                                          f"metrics={self.metrics_port}\nscan_interval=0\nhistory=off\n")
        environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        self.start([self.program, "--headless", "--config", ini], env=environment, stdin=subprocess.DEVNULL)
        wait_for("the watcher's first scan", lambda: f"\nzephlink9_ring_modules {self.modules}\n" in self.page(), 30)

        shipped = yaml.safe_load(open(os.path.join(self.monitoring, "alertmanager.yml")))
        alertmanager = shutil.which("prometheus-alertmanager") or shutil.which("alertmanager")
        managers = []
        for to, quiet_now in (("day@ring.test", False), ("night@ring.test", True)):
            port = free_port()
            config = self.write(f"alertmanager-{to}.yml", yaml.safe_dump(
                alertmanager_config(shipped, self.smtp.port, self.hooks.server_address[1], to, quiet_now)))
            self.start([alertmanager, f"--config.file={config}", f"--storage.path={self.dir}/am-{port}",
                        f"--web.listen-address=127.0.0.1:{port}", "--cluster.listen-address="])
            managers.append(f"127.0.0.1:{port}")

        rules = self.write("alerts.yml", scaled_rules(open(os.path.join(self.monitoring, "alerts.yml")).read()))
        self.prometheus_port = free_port()
        config = self.write("prometheus.yml", yaml.safe_dump({
            "global": {"scrape_interval": "1s", "evaluation_interval": "1s"},
            "rule_files": [rules],
            "alerting": {"alertmanagers": [{"static_configs": [{"targets": managers}]}]},
            "scrape_configs": [{"job_name": "zephlink9", "static_configs": [
                {"targets": [f"127.0.0.1:{self.metrics_port}"], "labels": {"ring": "test-ring"}}]}]}))
        self.start([shutil.which("prometheus"), f"--config.file={config}", f"--storage.tsdb.path={self.dir}/tsdb",
                    f"--web.listen-address=127.0.0.1:{self.prometheus_port}"])
        wait_for("Prometheus to scrape the ring", lambda: self.query(f'zephlink9_ring_modules{{ring="test-ring"}} == {self.modules}'), 30)

    def quiet(self, seconds):
        """Nothing arrives for that long."""
        before = len(self.mails.mails)
        time.sleep(seconds)
        assert len(self.mails.mails) == before, f"unexpected mail: {self.mails.mails[before:]}"

    def expect_one(self, since, firing, names, quiet_too=True):
        """One message to each recipient since then, of that state, naming all the texts."""
        recipients = ["day@ring.test"] + (["night@ring.test"] if quiet_too else [])
        for to in recipients:
            wait_for(f"the {firing} mail to {to} naming {names}", lambda: self.mails.to(to, since), 60)
        time.sleep(3)
        for to in recipients:
            got = self.mails.to(to, since)
            assert len(got) == 1, f"{len(got)} mails to {to}, one expected: {got}"
            mail = got[0]
            assert mail["subject"].startswith(f"[{firing.upper()}"), mail
            for name in names:
                assert name in mail["text"], f"{name!r} not in the mail: {mail}"
        mail = self.mails.to("day@ring.test", since)[0]
        print(f"--- {mail['at'] - since:.2f} s after: Subject: {mail['subject']}\n{mail['text'].strip()}")
        return mail

    def break_and_repair(self):
        since = time.monotonic()
        self.control("fault 3 2 on")
        mail = self.expect_one(since, "firing", ["FIRING: Ring test-ring: module 3 channel 2 faulty"])
        taken = mail["at"] - since
        assert any(alert["labels"].get("module") == "3" for post in HookSink.posts for alert in post["alerts"]), \
            "the on-call webhook was not called"
        since = time.monotonic()
        self.control("fault 3 2 off")
        self.expect_one(since, "resolved", ["RESOLVED: Ring test-ring: module 3 channel 2 faulty"])
        return taken

    def warning_in_quiet_hours(self):
        since = time.monotonic()
        self.control("counter 5 1 40")
        fired = self.expect_one(since, "firing", ["Ring test-ring: module 5 channel 1", "errors in 15 minutes"],
                                quiet_too=False)
        self.expect_one(fired["at"] + 1e-6, "resolved", ["RESOLVED: Ring test-ring: module 5 channel 1"], quiet_too=False)
        assert not self.mails.to("night@ring.test", since), "a warning was sent in quiet hours"

    def cut_fibre(self):
        since = time.monotonic()
        self.control("\n".join(f"silent {k} on" for k in range(4, 9)))
        self.expect_one(since, "firing", [f"FIRING: Ring test-ring: module {k} left the ring" for k in range(4, 9)])
        since = time.monotonic()
        self.control("\n".join(f"silent {k} off" for k in range(4, 9)))
        self.expect_one(since, "resolved", [f"RESOLVED: Ring test-ring: module {k} left the ring" for k in range(4, 9)])

    def pulled_port(self):
        since = time.monotonic()
        self.sim.send_signal(signal.SIGKILL)
        self.sim.wait()
        self.expect_one(since, "firing", ["FIRING: Ring test-ring: no module answers"])
        self.quiet(3)


def main():
    args = sys.argv[1:]
    options = {"--repeat": 0, "--modules": 8}
    for name in options:
        if name in args:
            k = args.index(name)
            options[name] = int(args[k + 1])
            del args[k:k + 2]
    repeat = options["--repeat"]
    monitoring, program, ringsim = args
    for needed in ("prometheus", "amtool"):
        if not shutil.which(needed):
            skip(needed)
    if not (shutil.which("prometheus-alertmanager") or shutil.which("alertmanager")):
        skip("alertmanager (Debian package prometheus-alertmanager)")
    for built in (program, ringsim):
        if not os.access(built, os.X_OK):
            skip(built)

    modules = max(8, options["--modules"])
    if repeat:
        # Each break on a fresh set of servers: Alertmanager's first message of a ring waits
        # group_wait, a later one the group's next round.
        taken = []
        for _ in range(repeat):
            run = Run(monitoring, program, ringsim, modules)
            try:
                run.setup()
                taken.append(run.break_and_repair())
            finally:
                run.close()
        print(f"break to e-mail, {modules} modules: " + ", ".join(f"{t:.2f} s" for t in taken))
        print(f"median {statistics.median(taken):.2f} s, max {max(taken):.2f} s of {len(taken)}")
        return 0

    run = Run(monitoring, program, ringsim, modules)
    try:
        run.setup()
        run.quiet(3)
        print(f"break to e-mail: {run.break_and_repair():.2f} s")
        run.warning_in_quiet_hours()
        run.cut_fibre()
        run.pulled_port()
        print("alerts reached the mail sink as expected")
        return 0
    finally:
        run.close()


if __name__ == "__main__":
    sys.exit(main())
