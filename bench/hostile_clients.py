#!/usr/bin/env python3
"""Holds 200 idle connections to a metrics page (opened again as the server closes them) and keeps sending it garbage, 1 MB headers and
half-sent requests (each reopened when the server closes it) for SECONDS, while it asks for the
page once a second. Prints the slowest answer and how many answers came.
Usage: hostile_clients.py PORT SECONDS"""
import select, socket, sys, threading, time

port, seconds = int(sys.argv[1]), float(sys.argv[2])
address = ("127.0.0.1", port)
end = time.time() + seconds

def pester(payload):
    while time.time() < end:
        try:
            s = socket.create_connection(address)
            s.sendall(payload)
            s.settimeout(end - time.time() + 1)
            while s.recv(65536):
                pass
        except (OSError, ValueError):
            time.sleep(0.05)

def get():
    start = time.time()
    s = socket.create_connection(address)
    s.sendall(b"GET /metrics HTTP/1.1\r\nHost: ring-pc\r\nConnection: close\r\n\r\n")
    data = b""
    while chunk := s.recv(65536):
        data += chunk
        if data.endswith(b"zephlink9_events_unacknowledged 0\n") or b"\nzephlink9_events_unacknowledged " in data[-64:]:
            break
    s.close()
    return time.time() - start, data.startswith(b"HTTP/1.1 200")

def hold_idle():
    # The server closes an idle connection after a few seconds; it is opened again at once.
    held = [socket.create_connection(address) for _ in range(200)]
    while time.time() < end:
        closed, _, _ = select.select(held, [], [], 0.5)
        for s in closed:
            s.close()
            held[held.index(s)] = socket.create_connection(address)

payloads = [b"\x16\x03\x01 garbage \x00\xff" * 50, b"GET /metrics HTTP/1.1\r\nX-Big: " + b"a" * (1 << 20) + b"\r\n\r\n",
            b"GET /metrics HTTP/1.1\r\nHost: ri"]
threads = [threading.Thread(target=pester, args=(p,), daemon=True) for p in payloads for _ in range(3)]
threads.append(threading.Thread(target=hold_idle, daemon=True))
for t in threads:
    t.start()
slowest, answered, asked = 0.0, 0, 0
while time.time() < end:
    took, ok = get()
    asked += 1
    answered += ok
    slowest = max(slowest, took)
    time.sleep(1)
print(f"{answered} of {asked} asks answered, the slowest in {slowest * 1000:.1f} ms")
