#!/usr/bin/env python3
"""Hostile clients against a metrics page (and a Modbus TCP server) for SECONDS, while the page is
asked once a second (and registers 0 to 7 read once a second). Prints what those asks got.

Against the page: 300 idle connections, each opened again at once when the server closes it;
250 clients that pipeline requests and never read; 50 slowloris clients sending one header line a
second and never ending the request; 3 each sending garbage, 1 MB headers and half-sent requests
(each reopened when the server closes it).
Against the Modbus server: 200 idle connections opened again as they are closed, garbage, half
frames (a header that promises more than comes), and 20 clients that pipeline reads of 125
registers and never read.
Usage: hostile_clients.py PORT SECONDS [MODBUS_PORT]"""
import selectors, socket, struct, sys, threading, time

port, seconds = int(sys.argv[1]), float(sys.argv[2])
modbus_port = int(sys.argv[3]) if len(sys.argv) > 3 else None
end = time.time() + seconds
PAGE_REQUEST = b"GET /metrics HTTP/1.1\r\nHost: ring-pc\r\n\r\n"


def modbus_read(transaction, first, count):
    return struct.pack(">HHHBBHH", transaction & 0xFFFF, 0, 6, 1, 3, first, count)


def connect(address):
    try:
        s = socket.create_connection(address, timeout=2)
        s.setblocking(False)
        return s
    except OSError:
        return None


def crowd(address, count, first=b"", every=None, each_time=b"", flood=b""):
    """count connections, each reopened when the server closes it. A connection sends `first`, then
    `each_time` every `every` seconds, and keeps as much of `flood` queued as the kernel takes;
    it never reads an answer (but sees the close)."""
    selector = selectors.DefaultSelector()
    due = {}

    def open_one():
        s = connect(address)
        if s is None:
            time.sleep(0.05)
            return
        try:
            s.send(first)
        except OSError:
            pass
        selector.register(s, selectors.EVENT_READ)
        due[s] = time.time() + (every or 0)

    def close(s):
        selector.unregister(s)
        due.pop(s, None)
        s.close()

    for _ in range(count):
        open_one()
    while time.time() < end:
        for key, _ in selector.select(0.1):
            s = key.fileobj
            try:
                if flood or s.recv(65536) == b"":
                    close(s)
            except OSError:
                close(s)
        now = time.time()
        for s in list(due):
            try:
                if flood:
                    while s.send(flood) > 0:
                        pass
                elif every is not None and now >= due[s]:
                    s.send(each_time)
                    due[s] = now + every
            except BlockingIOError:
                pass
            except OSError:
                close(s)
        while len(due) < count and time.time() < end:
            open_one()
    for s in list(due):
        close(s)


def pester(address, payload):
    while time.time() < end:
        try:
            s = socket.create_connection(address)
            s.sendall(payload)
            s.settimeout(end - time.time() + 1)
            while s.recv(65536):
                pass
        except (OSError, ValueError):
            time.sleep(0.05)


def ask_page():
    start = time.time()
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=5)
        s.sendall(b"GET /metrics HTTP/1.1\r\nHost: ring-pc\r\nConnection: close\r\n\r\n")
        data = b""
        while chunk := s.recv(65536):
            data += chunk
        s.close()
        return time.time() - start, data.startswith(b"HTTP/1.1 200") and b"\nzephlink9_port_open " in data
    except OSError:
        return time.time() - start, False


def ask_registers(transaction):
    start = time.time()
    try:
        s = socket.create_connection(("127.0.0.1", modbus_port), timeout=5)
        s.sendall(modbus_read(transaction, 0, 8))
        data = b""
        while len(data) < 9 + 16 and (chunk := s.recv(256)):
            data += chunk
        s.close()
        return time.time() - start, len(data) == 25 and data[7] == 3
    except OSError:
        return time.time() - start, False


page = ("127.0.0.1", port)
jobs = [(crowd, (page, 300)),
        (crowd, (page, 250), {"flood": PAGE_REQUEST * 64}),
        (crowd, (page, 50), {"first": b"GET /metrics HTTP/1.1\r\n", "every": 1.0, "each_time": b"X-Slow: a\r\n"})]
jobs += [(pester, (page, p)) for p in (b"\x16\x03\x01 garbage \x00\xff" * 50,
                                       b"GET /metrics HTTP/1.1\r\nX-Big: " + b"a" * (1 << 20) + b"\r\n\r\n",
                                       b"GET /metrics HTTP/1.1\r\nHost: ri") for _ in range(3)]
if modbus_port:
    registers = ("127.0.0.1", modbus_port)
    jobs += [(crowd, (registers, 200)),
             (crowd, (registers, 20), {"flood": b"".join(modbus_read(t, 100, 125) for t in range(64))})]
    jobs += [(pester, (registers, p)) for p in (b"\x16\x03\x01 garbage \x00\xff" * 50,
                                                struct.pack(">HHHB", 1, 0, 200, 1) + b"\x03\x00") for _ in range(3)]
threads = [threading.Thread(target=job[0], args=job[1], kwargs=job[2] if len(job) > 2 else {}, daemon=True)
           for job in jobs]
for t in threads:
    t.start()
asks = {"page": [], "registers": []}
transaction = 0
while time.time() < end:
    asks["page"].append(ask_page())
    if modbus_port:
        transaction += 1
        asks["registers"].append(ask_registers(transaction))
    time.sleep(1)
for t in threads:
    t.join(5)
for what, got in asks.items():
    if got:
        answered = sum(ok for _, ok in got)
        print(f"{what}: {answered} of {len(got)} asks answered, the slowest in {max(t for t, _ in got) * 1000:.1f} ms")
