#!/usr/bin/env python3
"""A small HTTPS server for tests and the demo: serves given files at given paths on 127.0.0.1.

  pkgserver.py --cert server.pem --key server.key --serve PATH=FILE[,OPTION=VALUE...] ...
               [--port N | --port 0 --port-file F] [--rate BYTES_PER_S] [--lifetime SECONDS] [--log F]

PATH is matched against the request target exactly as sent (percent-escapes and "+" are not
decoded), query included; a PATH without "?" also matches the same path with any query.
"/agreement.html", the licence agreement that the installer's link opens, is answered with a
short page unless a route takes that path. Everything else is answered with 404. Options of a route:
  rate=B       throttles the body to B bytes per second
  truncate=B   announces the whole length but sends only B bytes of the body, then drops the
               connection (a transfer cut off)
  stall=B      sends B bytes, then keeps the connection open in silence (a server that hangs)
  status=N     answers with status N (404, 500...) and the file as the body all the same
  endless=1    announces no length and sends the file over and over until the client goes away
               (a server that never ends); throttle it with rate
  announce=B   announces a length of B bytes and sends the whole file (longer than announced)
  only=N       the other options hold for the first N requests of the route only; later ones are
               answered plainly with the file (a server that misbehaves once)
The server stops by itself after --lifetime seconds (default 300).
"""
import argparse
import http.server
import os
import socketserver
import ssl
import sys
import threading
import time

CHUNK = 64 * 1024

AGREEMENT_PATH = "/agreement.html"
AGREEMENT_PAGE = """<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>凯普视频工坊 用户协议</title></head>
<body><h1>凯普视频工坊 用户协议</h1>
<p>This is the demo server's stand-in for the vendor's licence agreement.</p></body></html>
""".encode("utf-8")


class Route:
    def __init__(self, text, default_rate):
        # The path may hold "=" (a query), the file name is taken to hold none.
        parts = text.split(",")
        path, _, self.file = parts[0].rpartition("=")
        self.path = path
        self.rate = default_rate
        self.truncate = None
        self.stall = None
        self.status = 200
        self.endless = False
        self.announce = None
        self.only = None
        self.served = 0
        self.lock = threading.Lock()
        for option in parts[1:]:
            key, _, value = option.partition("=")
            if key == "rate":
                self.rate = float(value)
            elif key == "truncate":
                self.truncate = int(value)
            elif key == "stall":
                self.stall = int(value)
            elif key == "status":
                self.status = int(value)
            elif key == "endless":
                self.endless = value not in ("", "0")
            elif key == "announce":
                self.announce = int(value)
            elif key == "only":
                self.only = int(value)
            else:
                raise SystemExit("unknown option in --serve: " + option)
        if not path.startswith("/") or not os.path.isfile(self.file):
            raise SystemExit("bad --serve " + text)
        self.plain = None
        if self.only is not None:
            self.plain = Route(parts[0], default_rate)

    def for_request(self):
        """The route that answers the next request: this one, or its plain self after `only`."""
        if self.plain is None:
            return self
        with self.lock:
            self.served += 1
            return self if self.served <= self.only else self.plain


def find_route(routes, target):
    for route in routes:
        if route.path == target:
            return route
    path = target.split("?", 1)[0]
    for route in routes:
        if "?" not in route.path and route.path == path:
            return route
    return None


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "pkgserver/1"

    def log_message(self, format, *args):
        pass  # requests go to --log instead

    def do_HEAD(self):
        self.answer(send_body=False)

    def do_GET(self):
        self.answer(send_body=True)

    def answer(self, send_body):
        self.server.log_request_line(self.command + " " + self.path)
        route = find_route(self.server.routes, self.path)
        if route is None and self.path.split("?", 1)[0] == AGREEMENT_PATH:
            self.send_page(AGREEMENT_PAGE, send_body)
            return
        if route is None:
            self.send_error(404, "File not found")
            return
        route = route.for_request()
        size = os.path.getsize(route.file)
        self.send_response(route.status)
        self.send_header("Content-Type", "application/octet-stream")
        if route.endless:
            self.send_header("Connection", "close")
        else:
            self.send_header("Content-Length", str(size if route.announce is None else route.announce))
        self.end_headers()
        if not send_body:
            return
        if route.endless:
            self.close_connection = True
            try:
                self.send_endless(route)
            except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
                pass  # the client went away: the normal end
            return
        limit = size if route.truncate is None else min(size, route.truncate)
        if route.stall is not None:
            limit = min(limit, route.stall)
        try:
            self.send_body(route, limit)
            if route.stall is not None:
                self.server.stopping.wait()  # keeps the connection open, silent
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            return  # the client went away
        if limit < size:
            self.close_connection = True
            self.connection.close()

    def send_page(self, page, send_body):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        if send_body:
            self.wfile.write(page)
    def send_endless(self, route):
        started = time.monotonic()
        sent = 0
        with open(route.file, "rb") as body:
            data = body.read()
        while not self.server.stopping.is_set():
            self.wfile.write(data)
            sent += len(data)
            if route.rate:
                ahead = sent / route.rate - (time.monotonic() - started)
                if ahead > 0:
                    time.sleep(ahead)

    def send_body(self, route, limit):
        started = time.monotonic()
        sent = 0
        with open(route.file, "rb") as body:
            while sent < limit:
                data = body.read(min(CHUNK, limit - sent))
                if not data:
                    break
                self.wfile.write(data)
                sent += len(data)
                if route.rate:
                    ahead = sent / route.rate - (time.monotonic() - started)
                    if ahead > 0:
                        time.sleep(ahead)
        self.wfile.flush()


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, context, routes, log_path):
        super().__init__(("127.0.0.1", port), Handler)
        self.context = context
        self.routes = routes
        self.log_path = log_path
        self.log_lock = threading.Lock()
        self.stopping = threading.Event()

    def finish_request(self, request, client_address):
        # The TLS handshake runs on the request's own thread, so a slow client blocks nobody.
        try:
            request = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        super().finish_request(request, client_address)

    def log_request_line(self, line):
        if not self.log_path:
            return
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(line + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="where to write the port once listening")
    parser.add_argument("--serve", action="append", default=[], metavar="PATH=FILE[,OPTION=VALUE...]")
    parser.add_argument("--rate", type=float, default=0, help="default body rate in bytes per second")
    parser.add_argument("--lifetime", type=float, default=300)
    parser.add_argument("--log", help="appends one line per request")
    args = parser.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    routes = [Route(text, args.rate) for text in args.serve]
    server = Server(args.port, context, routes, args.log)
    port = server.server_address[1]
    if args.port_file:
        temporary = args.port_file + ".tmp"
        with open(temporary, "w") as out:
            out.write("%d\n" % port)
        os.replace(temporary, args.port_file)
    print("pkgserver listening on https://localhost:%d/" % port, flush=True)

    # Stop by itself: a forgotten server must not outlive its test for long.
    def stop():
        server.stopping.set()
        server.shutdown()

    stopper = threading.Timer(args.lifetime, stop)
    stopper.daemon = True
    stopper.start()
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
