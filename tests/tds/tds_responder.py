#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A scripted stand-in for SQL Server's side of TDS 7.4, for tests only.

It is not a database: it answers PRELOGIN (no encryption), LOGIN7 and SQL
batches, and every batch's answer comes from a JSON script that maps the
batch text to a stream of tokens. Everything it receives (logins, batches,
attentions) is appended to a log, one JSON object a line, so that a test can
see exactly what reached the "server".

    tds_responder.py --script SCRIPT.json --log LOG.jsonl

It listens on a free port on 127.0.0.1 and prints that port on its first
line of output. Script:

    {"logins": [{"user": "...", "password": "..."}],   # absent: any login
     "databases": ["master", "ASSOC"],                   # absent: any
     "silent": false,          # true: accept connections, never answer
     "batches": [{"sql": "exact text", "reply": [TOKEN, ...]},
                 {"match": "python regex", "reply": [...]}],
     "otherwise": [TOKEN, ...],                          # absent: error 2812
     "sqlite": "FILE"}        # batches no entry answers run on this SQLite file

TOKEN is one of
    {"rows": {"columns": [{"name": "N", "type": "int"}, ...],
              "data": [[1], [null]]}, "count": true}
    {"done": 3}  /  {"done": null}       a statement's end, with or without a count
    {"error": {"number": 8134, "message": "...", "class": 16, "state": 1}}
    {"info": {"number": 5701, "message": "...", "class": 0, "state": 1}}
    {"print": "text"}
    {"return_status": 0}
Column types: int, bigint, smallint, tinyint, bit, float, decimal(P,S),
numeric(P,S), datetime, date, time(S), nvarchar(N), varchar(N) (code page 1252).

A rows shape may also say how its rows are sent, to show what a client does
while a result is still arriving:
    "repeat": N        the data rows are sent N times over (generated as they go)
    "gate_after": K    after K rows, what was sent is flushed and the responder
                       waits until the script's "gate" file exists (at most
                       "gate_seconds", default 10), logging {"event": "gate",
                       "opened": true|false}, before it sends the rest
    "pause_every": K, "pause": S   after every K rows, flush and sleep S seconds
    "fail_after": K, "error": {...}   after K rows the statement fails with the
                       error (as a division by zero in row K + 1 does)
    "hang_up_after": K  after K rows the connection is dropped, as when the
                       server or the network goes away
"""

import argparse
import datetime
import sqlite3
import decimal
import json
import os
import re
import select
import socket
import struct
import sys
import threading
import time

PRELOGIN, SQL_BATCH, RPC, ATTENTION, LOGIN7, REPLY = 0x12, 0x01, 0x03, 0x06, 0x10, 0x04
DONE_MORE, DONE_ERROR, DONE_COUNT, DONE_ATTN = 0x01, 0x02, 0x10, 0x20
# SQL_Latin1_General_CP1_CI_AS: locale 0x0409, sort order 52, code page 1252.
COLLATION = bytes([0x09, 0x04, 0xD0, 0x00, 0x34])
SERVER_NAME = "TWKRESPONDER"


def us_varchar(text):
    data = text.encode("utf-16-le")
    return struct.pack("<H", len(data) // 2) + data


def b_varchar(text):
    data = text.encode("utf-16-le")
    return struct.pack("<B", len(data) // 2) + data


def envchange(kind, new, old):
    body = struct.pack("<B", kind) + b_varchar(new) + b_varchar(old)
    return struct.pack("<BH", 0xE3, len(body)) + body


def collation_change():
    body = struct.pack("<BB", 7, len(COLLATION)) + COLLATION + b"\x00"
    return struct.pack("<BH", 0xE3, len(body)) + body


def message(token, number, text, severity, state=1, line=1):
    body = (struct.pack("<iBB", number, state, severity) + us_varchar(text) +
            b_varchar(SERVER_NAME) + b_varchar("") + struct.pack("<i", line))
    return struct.pack("<BH", token, len(body)) + body


def done(status=0, count=0, token=0xFD):
    return struct.pack("<BHHQ", token, status, 0xC1 if status & DONE_COUNT else 0, count)


def login_ack():
    body = (struct.pack("<B", 1) + bytes([0x74, 0x00, 0x00, 0x04]) +
            b_varchar("Microsoft SQL Server") + bytes([16, 0, 0x03, 0xE8]))
    return struct.pack("<BH", 0xAD, len(body)) + body


class Column:
    """One column of a result: its type information and how it writes values."""

    def __init__(self, shape):
        self.name = shape.get("name", "")
        kind = shape["type"].lower().replace(" ", "")
        found = re.fullmatch(r"(\w+)(?:\((\d+)(?:,(\d+))?\))?", kind)
        self.kind = found.group(1)
        self.p = int(found.group(2)) if found.group(2) else None
        self.s = int(found.group(3)) if found.group(3) else 0

    def type_info(self):
        sizes = {"tinyint": 1, "smallint": 2, "int": 4, "bigint": 8}
        if self.kind in sizes:
            return bytes([0x26, sizes[self.kind]])
        if self.kind == "bit":
            return bytes([0x68, 1])
        if self.kind == "float":
            return bytes([0x6D, 8])
        if self.kind in ("decimal", "numeric"):
            precision = self.p or 18
            return bytes([0x6A if self.kind == "decimal" else 0x6C,
                          1 + self.decimal_bytes(), precision, self.s])
        if self.kind == "datetime":
            return bytes([0x6F, 8])
        if self.kind == "date":
            return bytes([0x28])
        if self.kind == "time":
            return bytes([0x29, self.time_scale()])
        if self.kind == "nvarchar":
            return bytes([0xE7]) + struct.pack("<H", 2 * (self.p or 4000)) + COLLATION
        if self.kind == "varchar":
            return bytes([0xA7]) + struct.pack("<H", self.p or 8000) + COLLATION
        raise ValueError("unknown column type " + self.kind)

    def decimal_bytes(self):
        precision = self.p or 18
        return 4 if precision <= 9 else 8 if precision <= 19 else 12 if precision <= 28 else 16

    def time_scale(self):
        return 7 if self.p is None else self.p

    def value(self, value):
        null = value is None
        if self.kind in ("tinyint", "smallint", "int", "bigint"):
            code = {"tinyint": "<B", "smallint": "<h", "int": "<i", "bigint": "<q"}[self.kind]
            return b"\x00" if null else struct.pack("<B", struct.calcsize(code)) + \
                struct.pack(code, int(value))
        if self.kind == "bit":
            return b"\x00" if null else bytes([1, 1 if value else 0])
        if self.kind == "float":
            return b"\x00" if null else b"\x08" + struct.pack("<d", float(value))
        if self.kind in ("decimal", "numeric"):
            if null:
                return b"\x00"
            with decimal.localcontext() as exact:
                exact.prec = 80  # the default 28 digits would round a decimal(38)
                scaled = int(decimal.Decimal(str(value)).scaleb(self.s).to_integral_value())
            size = self.decimal_bytes()
            return (bytes([1 + size, 1 if scaled >= 0 else 0]) +
                    abs(scaled).to_bytes(size, "little"))
        if self.kind == "datetime":
            if null:
                return b"\x00"
            stamp = datetime.datetime.fromisoformat(value)
            days = (stamp.date() - datetime.date(1900, 1, 1)).days
            midnight = stamp.replace(hour=0, minute=0, second=0, microsecond=0)
            ticks = round((stamp - midnight).total_seconds() * 300)
            return b"\x08" + struct.pack("<iI", days, ticks)
        if self.kind == "date":
            if null:
                return b"\x00"
            days = (datetime.date.fromisoformat(value) - datetime.date(1, 1, 1)).days
            return b"\x03" + days.to_bytes(3, "little")
        if self.kind == "time":
            if null:
                return b"\x00"
            clock, _, fraction = value.partition(".")
            hours, minutes, seconds = (int(part) for part in clock.split(":"))
            scale = self.time_scale()
            digits = (fraction + "0" * scale)[:scale]
            units = ((hours * 60 + minutes) * 60 + seconds) * 10 ** scale + int(digits or "0")
            size = 3 if scale <= 2 else 4 if scale <= 4 else 5
            return bytes([size]) + units.to_bytes(size, "little")
        if self.kind in ("nvarchar", "varchar"):
            if null:
                return b"\xff\xff"
            data = str(value).encode("utf-16-le" if self.kind == "nvarchar" else "cp1252")
            return struct.pack("<H", len(data)) + data
        raise ValueError("unknown column type " + self.kind)


class Action:
    """A point in a reply where what was sent so far is flushed and something
    happens (a wait) before the rest goes."""

    def __init__(self, run):
        self.run = run


class Cancelled(Exception):
    """The client sent an ATTENTION while a reply was on its way."""


def wait_for_gate(session):
    script = session.server.script
    deadline = time.monotonic() + float(script.get("gate_seconds", 10))
    gate = script.get("gate", "")
    while gate and not os.path.exists(gate) and time.monotonic() < deadline:
        session.pause(0.01)
    session.server.log({"event": "gate", "opened": bool(gate) and os.path.exists(gate)})


def hang_up(session):
    session.server.log({"event": "hang up"})
    session.connection.shutdown(socket.SHUT_RDWR)
    raise ConnectionError("hung up as the script says")


def rows_tokens(shape, count):
    """The parts of one result: bytes, with Actions where the shape asks for them."""
    columns = [Column(column) for column in shape["columns"]]
    meta = struct.pack("<BH", 0x81, len(columns))
    for column in columns:
        meta += struct.pack("<IH", 0, 0x0001) + column.type_info() + b_varchar(column.name)
    encoded = [b"\xd1" + b"".join(column.value(value) for column, value in zip(columns, row))
               for row in shape.get("data", [])]
    total = len(encoded) * int(shape.get("repeat", 1))
    if "fail_after" in shape:
        total = min(total, int(shape["fail_after"]))
    gate_after = shape.get("gate_after")
    pause_every, pause = int(shape.get("pause_every", 0)), float(shape.get("pause", 0))
    parts, pending = [meta], []
    for number in range(total):
        pending.append(encoded[number % len(encoded)])
        sent = number + 1
        gated = gate_after is not None and sent == int(gate_after)
        if sent == shape.get("hang_up_after"):
            parts += [b"".join(pending), Action(hang_up)]
            pending = []
        paused = pause_every and sent % pause_every == 0 and sent < total
        if gated or paused or len(pending) >= 1000:
            parts.append(b"".join(pending))
            pending = []
        if gated:
            parts.append(Action(wait_for_gate))
        if paused:
            parts.append(Action(lambda session: session.pause(pause)))
    parts.append(b"".join(pending))
    if "fail_after" in shape:
        error = shape["error"]
        parts.append(message(0xAA, error["number"], error["message"], error.get("class", 16),
                             error.get("state", 1)))
        return parts, done(DONE_ERROR)
    return parts, done(DONE_COUNT, total) if count else done()


def reply_tokens(reply):
    """The token stream for a script's reply, as bytes and Actions; every DONE
    but the last says more follows."""
    parts = []  # (bytes or Action, is_done)
    for item in reply:
        if "rows" in item:
            pieces, end = rows_tokens(item["rows"], item.get("count", True))
            parts += [(piece, False) for piece in pieces] + [(end, True)]
        elif "done" in item:
            count = item["done"]
            parts.append((done(0, 0) if count is None else done(DONE_COUNT, int(count)), True))
        elif "error" in item:
            shape = item["error"]
            parts.append((message(0xAA, shape["number"], shape["message"], shape.get("class", 16),
                                  shape.get("state", 1)), False))
            parts.append((done(DONE_ERROR), True))
        elif "info" in item:
            shape = item["info"]
            parts.append((message(0xAB, shape["number"], shape["message"], shape.get("class", 0),
                                  shape.get("state", 1)), False))
        elif "print" in item:
            parts.append((message(0xAB, 0, item["print"], 0), False))
        elif "return_status" in item:
            parts.append((struct.pack("<Bi", 0x79, int(item["return_status"])), False))
        else:
            raise ValueError("unknown reply item %r" % (item,))
    if not parts or not parts[-1][1]:
        parts.append((done(), True))
    last_done = max(i for i, (_, is_done) in enumerate(parts) if is_done)
    stream = []
    for i, (data, is_done) in enumerate(parts):
        if is_done and i != last_done:
            status = struct.unpack_from("<H", data, 1)[0] | DONE_MORE
            data = data[:1] + struct.pack("<H", status) + data[3:]
        stream.append(data)
    return stream


def sqlite_statements(sql):
    """The statements of a batch, split where SQLite itself sees one end."""
    statements, current = [], ""
    for character in sql:
        current += character
        if character == ";" and sqlite3.complete_statement(current):
            statements.append(current)
            current = ""
    if current.strip():
        statements.append(current)
    return [statement for statement in statements if statement.strip(" \t\r\n;")]


def sqlite_reply(path, sql):
    """Runs each statement of the batch on the file, answering as the server
    would: rows, a count, or an error after which the batch goes on."""
    reply = []
    database = sqlite3.connect(path, isolation_level=None)
    try:
        for statement in sqlite_statements(sql):
            try:
                cursor = database.execute(statement)
            except sqlite3.Error as error:
                number = 208 if "no such table" in str(error) else 102
                reply.append({"error": {"number": number, "message": str(error)}})
                continue
            if cursor.description:
                data = [list(row) for row in cursor.fetchall()]
                columns = []
                for i, described in enumerate(cursor.description):
                    sample = next((row[i] for row in data if row[i] is not None), None)
                    kind = ("bigint" if isinstance(sample, int) else
                            "float" if isinstance(sample, float) else "nvarchar(4000)")
                    columns.append({"name": described[0], "type": kind})
                reply.append({"rows": {"columns": columns, "data": data}})
            elif cursor.rowcount >= 0:
                reply.append({"done": cursor.rowcount})
            else:
                reply.append({"done": None})
    finally:
        database.close()
    return reply


class Session:
    """One client connection."""

    def __init__(self, server, connection):
        self.server = server
        self.connection = connection
        self.packet_size = 4096
        self.user = ""

    def receive(self):
        """One whole message: (type, payload), or (None, b"") when the client has gone."""
        payload = b""
        while True:
            header = self.read_exactly(8)
            if header is None:
                return None, b""
            kind, status, length = struct.unpack(">BBH", header[:4])
            body = self.read_exactly(length - 8)
            if body is None:
                return None, b""
            payload += body
            if status & 0x01:
                return kind, payload

    def read_exactly(self, size):
        data = b""
        while len(data) < size:
            chunk = self.connection.recv(size - len(data))
            if not chunk:
                return None
            data += chunk
        return data

    def send(self, payload, last=True):
        """Sends payload as packets; the message ends with it unless last is False."""
        room = self.packet_size - 8
        pieces = [payload[i:i + room] for i in range(0, len(payload), room)] or [b""]
        for number, piece in enumerate(pieces, 1):
            status = 0x01 if last and number == len(pieces) else 0x00
            header = struct.pack(">BBHHBB", REPLY, status, len(piece) + 8, 51, number % 256, 0)
            self.connection.sendall(header + piece)

    def pause(self, seconds):
        """Waits, as a server computing rows does; an ATTENTION that arrives
        meanwhile ends the reply, as SQL Server stops at one."""
        readable, _, _ = select.select([self.connection], [], [], seconds)
        if not readable:
            return
        kind, _ = self.receive()
        if kind is None:
            raise ConnectionError("the client has gone")
        self.server.log({"event": "attention" if kind == ATTENTION else "unexpected",
                         "type": kind, "during": "reply"})
        raise Cancelled()

    def send_reply(self, parts):
        """Sends a reply's parts as one message, flushing at each Action."""
        pending, size = [], 0
        try:
            for part in parts:
                if isinstance(part, Action) or size >= 1 << 20:
                    if pending:
                        self.send(b"".join(pending), last=False)
                    pending, size = [], 0
                if isinstance(part, Action):
                    part.run(self)
                    continue
                pending.append(part)
                size += len(part)
        except Cancelled:
            self.send(done(DONE_ATTN))
            return
        self.send(b"".join(pending))

    def run(self):
        while True:
            kind, payload = self.receive()
            if kind is None:
                return
            if kind == PRELOGIN:
                self.send(prelogin_reply())
            elif kind == LOGIN7:
                if not self.login(payload):
                    return
            elif kind == SQL_BATCH:
                self.batch(payload)
            elif kind == ATTENTION:
                self.server.log({"event": "attention"})
                self.send(done(DONE_ATTN))
            else:
                self.server.log({"event": "unsupported", "type": kind})
                self.send(message(0xAA, 50000, "The responder cannot answer this request.", 16) +
                          done(DONE_ERROR))

    def login(self, payload):
        fields = decode_login(payload)
        self.packet_size = max(512, min(fields.pop("packet_size") or 4096, 32767))
        self.server.log(dict(event="login", **fields))
        self.user = fields["user"]
        database = fields["database"] or "master"
        script = self.server.script
        logins = script.get("logins")
        failed = f"Login failed for user '{self.user}'."
        if logins is not None and not any(entry["user"] == fields["user"] and
                                          entry["password"] == fields["password"]
                                          for entry in logins):
            self.send(message(0xAA, 18456, failed, 14) + done(DONE_ERROR))
            return False
        databases = script.get("databases")
        if databases is not None and database not in databases:
            self.send(message(0xAA, 4060, f'Cannot open database "{database}" requested by the '
                              'login. The login failed.', 11) +
                      message(0xAA, 18456, failed, 14) + done(DONE_ERROR))
            return False
        self.send(envchange(1, database, "master") +
                  message(0xAB, 5701, f"Changed database context to '{database}'.", 0, 2) +
                  collation_change() + envchange(2, "us_english", "") +
                  message(0xAB, 5703, "Changed language setting to us_english.", 0) +
                  login_ack() + envchange(4, str(self.packet_size), str(self.packet_size)) + done())
        return True

    def batch(self, payload):
        headers = struct.unpack_from("<I", payload)[0] if len(payload) >= 4 else 0
        # TDS 7.2 and later put ALL_HEADERS first; its length counts itself.
        sql = payload[headers:].decode("utf-16-le", errors="replace")
        self.server.log({"event": "batch", "sql": sql})
        self.send_reply(reply_tokens(self.server.reply_for(sql)))


def prelogin_reply():
    options = [(0, bytes([16, 0, 0x03, 0xE8, 0, 0])),  # version
               (1, bytes([2])),                       # encryption not supported
               (2, bytes([0])),                       # instance: ok
               (3, b""),                              # thread id
               (4, bytes([0]))]                       # no MARS
    offset = 5 * len(options) + 1
    head, data = b"", b""
    for kind, value in options:
        head += struct.pack(">BHH", kind, offset + len(data), len(value))
        data += value
    return head + b"\xff" + data


def decode_login(payload):
    packet_size = struct.unpack_from("<I", payload, 8)[0]
    version = struct.unpack_from("<I", payload, 4)[0]
    names = ["host", "user", "password", "app", "server", "extension", "library", "language",
             "database"]
    fields = {}
    for i, name in enumerate(names):
        offset, length = struct.unpack_from("<HH", payload, 36 + 4 * i)
        raw = payload[offset:offset + 2 * length]
        if name == "password":
            # Each byte is stored nibble-swapped and XORed with 0xA5.
            raw = bytes((((b ^ 0xA5) << 4) & 0xF0) | ((b ^ 0xA5) >> 4) for b in raw)
        if name != "extension":
            fields[name] = raw.decode("utf-16-le", errors="replace")
    fields["tds_version"] = "%08x" % version
    fields["packet_size"] = packet_size
    return fields


class Server:
    def __init__(self, script, log_path):
        self.script = script
        self.log_path = log_path
        self.lock = threading.Lock()

    def log(self, entry):
        with self.lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(json.dumps(entry, ensure_ascii=False) + "\n")

    def reply_for(self, sql):
        for entry in self.script.get("batches", []):
            if "sql" in entry and entry["sql"] == sql:
                return entry["reply"]
            if "match" in entry and re.fullmatch(entry["match"], sql, re.S):
                return entry["reply"]
        if "sqlite" in self.script:
            return sqlite_reply(self.script["sqlite"], sql)
        if "otherwise" in self.script:
            return self.script["otherwise"]
        return [{"error": {"number": 2812, "class": 16,
                           "message": "The responder has no script for this batch."}}]

    def serve(self, connection):
        with connection:
            if self.script.get("silent"):
                while connection.recv(4096):
                    pass
                return
            try:
                Session(self, connection).run()
            except (ConnectionError, OSError):
                pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--script", required=True)
    parser.add_argument("--log", required=True)
    arguments = parser.parse_args()
    with open(arguments.script, encoding="utf-8") as source:
        server = Server(json.load(source), arguments.log)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=server.serve, args=(connection,), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
