#!/usr/bin/python3
"""FTP server for Ruvex's end-to-end tests, built on pyftpdlib.

    ruvex_ftpd.py --root DIR --log FILE [--host 127.0.0.1] [--port 21]
                  [--faults FILE] [--ready FILE] [--stall-limit SECONDS]

Users: "anonymous" (any password) and "ruvex" / "secret", both at home in DIR
with every permission; any other login gets 530 at once. --port 0 picks a free
port. --ready FILE is written, holding the port number, once the server
listens. SIGTERM and SIGINT end the server cleanly.

Command log (--log, UTF-8, one flushed line per event):
    7 CONNECT
    7 USER ruvex                  a command line as received
    7 -> 331 Username ok, send password.     each reply line sent
    7 DISCONNECT                  whichever side closed
A command line is the bytes before CR LF, decoded as latin-1; bytes 0-31 and
127-159 (a lone CR or LF among them) appear as \\xNN. Lines longer than 4096
bytes are logged cut, marked "[... N bytes]", and answered with 500.

Data connections in active mode open only after a data command has been
accepted (150 sent), as most servers do; pyftpdlib alone would connect as soon
as PORT arrives.

Listings (LIST, NLST, MLSD, STAT) never show ".ruvex-order". When a directory
holds that file, they show exactly the names written in it, one per line and
in that order, skipping names that do not exist; otherwise all entries sorted
by name (code point order).

Fault rules (--faults FILE): read again before every command, so replace the
file whole between steps; missing or empty means no faults. One rule a line,
"#" starts a comment; the command name (any command, logged in or not) is
matched case-insensitively and the first matching line wins:
    CMD reply TEXT            answer TEXT instead of running CMD; a literal \\n
                              in TEXT separates reply lines
    CMD reply-once TEXT       the same, once: the line is removed from the file
    CMD drop                  close the control connection, no reply
    CMD drop-after N          send N lines of a listing (LIST, NLST, MLSD),
                              then close data and control connections
                              without a final reply
    CMD drop-after-bytes N    move N bytes (RETR, STOR, APPE), then the same
    CMD truncate-ok N         move only N bytes, close the data connection and
                              reply 226 as if complete
    CMD raw PATH              send the bytes of PATH (relative to the fault
                              file's folder) as the data, with 150/226
    CMD stall [TEXT]          send TEXT if given (e.g. "150 Opening."), then
                              nothing: the data connection never opens and
                              later commands are logged but ignored, until the
                              client leaves or --stall-limit (<= 120 s) passes
    CMD delay SECONDS         wait (at most 60 s), then run CMD normally; later
                              commands wait their turn
"""
import argparse
import errno
import ipaddress
import logging
import os
import signal
import socket
import sys
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS, FilesystemError
from pyftpdlib.handlers import ActiveDTP, DTPHandler, FTPHandler, _strerror
from pyftpdlib.servers import FTPServer

ORDER_FILE = '.ruvex-order'
ALL_PERMISSIONS = 'elradfmwMT'
MAX_LINE = 4096
MAX_DELAY = 60.0
MAX_STALL = 120.0
DATA_COMMANDS = {'LIST', 'NLST', 'MLSD', 'RETR', 'STOR', 'APPE', 'STOU'}
TRANSFER_CUTS = {'drop-after', 'drop-after-bytes', 'truncate-ok'}
DROPPING_CUTS = {'drop-after', 'drop-after-bytes'}
ACTION_ARGUMENTS = {
    'reply': 'text', 'reply-once': 'text', 'raw': 'text', 'stall': 'any',
    'drop': 'none', 'delay': 'seconds', 'drop-after': 'count',
    'drop-after-bytes': 'count', 'truncate-ok': 'count'}


def visible(data):
    """Log text for raw bytes: latin-1, control characters as \\xNN."""
    return ''.join('\\x%02x' % ord(c) if ord(c) < 32 or 127 <= ord(c) < 160
                   else c for c in data.decode('latin-1'))


def parse_rule(text, base_dir):
    """One fault line as (command, action, argument), or None with a reason."""
    parts = text.split(None, 2)
    if len(parts) < 2:
        return None, 'no action'
    cmd, action, arg = parts[0].upper(), parts[1].lower(), (parts + [''])[2]
    kind = ACTION_ARGUMENTS.get(action)
    try:
        if kind == 'count':
            arg = int(arg)
            if arg < 0:
                return None, 'negative count'
        elif kind == 'seconds':
            arg = max(0.0, min(float(arg), MAX_DELAY))
    except ValueError:
        return None, 'bad number'
    if kind is None:
        return None, 'unknown action'
    if kind == 'text' and not arg:
        return None, 'missing text'
    if kind == 'none' and arg:
        return None, 'unexpected argument'
    if action == 'raw':
        arg = os.path.join(base_dir, arg)
    return (cmd, action, arg), None


def read_rules(path, warned):
    """The fault file as (lines, [(line index, command, action, argument)])."""
    try:
        with open(path, 'rb') as f:
            lines = f.read().decode('latin-1').splitlines()
    except FileNotFoundError:
        return [], []
    rules = []
    for index, line in enumerate(lines):
        text = line.strip()
        if not text or text.startswith('#'):
            continue
        rule, problem = parse_rule(text, os.path.dirname(path))
        if rule:
            rules.append((index,) + rule)
        elif line not in warned:
            warned.add(line)
            print('ruvex_ftpd: ignoring fault rule %r: %s' % (line, problem),
                  file=sys.stderr)
    return lines, rules


def remove_line(path, lines, index):
    """Rewrite the fault file without one line (a used reply-once rule)."""
    temp = path + '.tmp'
    with open(temp, 'wb') as f:
        kept = lines[:index] + lines[index + 1:]
        f.write(''.join(line + '\n' for line in kept).encode('latin-1'))
    os.replace(temp, path)


def ordered_names(path, names):
    """Names to list for a directory: as its order file says, else sorted."""
    names = [name for name in names if name != ORDER_FILE]
    try:
        with open(os.path.join(path, ORDER_FILE), 'rb') as f:
            wanted = [os.fsdecode(line) for line in f.read().splitlines()]
    except FileNotFoundError:
        return sorted(names)
    present = set(names)
    return [name for name in wanted if name in present]


def hide_order_file(path):
    if os.path.basename(path) == ORDER_FILE:
        raise FileNotFoundError(errno.ENOENT, os.strerror(errno.ENOENT))


class OrderedFS(AbstractedFS):
    def listdir(self, path):
        # A tuple, because pyftpdlib sorts any list it gets back for LIST.
        return tuple(ordered_names(path, super().listdir(path)))

    # Listings of single paths (LIST, NLST, STAT; MLST) go through these.
    def lstat(self, path):
        hide_order_file(path)
        return super().lstat(path)

    def stat(self, path):
        hide_order_file(path)
        return super().stat(path)


class OnceProducer:
    """Producer handing out one block of bytes."""
    def __init__(self, data):
        self.data = data

    def more(self):
        data, self.data = self.data, b''
        return data


class CutProducer:
    """Passes on another producer's data up to a count of bytes or lines."""
    def __init__(self, inner, count, by_lines):
        self.inner, self.left, self.by_lines = inner, count, by_lines

    def more(self):
        if self.left <= 0:
            return b''
        data = self.inner.more()
        if not self.by_lines:
            data = data[:self.left]
            self.left -= len(data)
            return data
        end = 0
        while self.left > 0:
            newline = data.find(b'\n', end)
            if newline < 0:
                return data
            end = newline + 1
            self.left -= 1
        return data[:end]


class PendingPort:
    """Stands in for ActiveDTP: remembers the PORT address and answers it;
    RuvexHandler connects only once a data command has been accepted."""
    def __init__(self, ip, port, cmd_channel):
        self.address = (ip, port)
        cmd_channel.respond('200 PORT command successful.')

    def close(self):
        pass


class LateActiveDTP(ActiveDTP):
    def handle_connect(self):
        # ActiveDTP's own version, less its "200" reply: PORT had its answer.
        self.del_channel()
        if self._idler is not None and not self._idler.cancelled:
            self._idler.cancel()
        if not self.cmd_channel.connected:
            return self.close()
        err = self.socket.getsockopt(socket.SOL_SOCKET, socket.SO_ERROR)
        if err != 0:
            raise OSError(err, os.strerror(err))
        # Forget the connector: closing it later would close the data socket.
        self.cmd_channel._dtp_connector = None
        handler = self.cmd_channel.dtp_handler(self.socket, self.cmd_channel)
        self.cmd_channel.data_channel = handler
        self.cmd_channel._on_dtp_connection()


class FaultyDTP(DTPHandler):
    def handle_read(self):
        fault = self.cmd_channel._transfer_fault
        if fault is None:
            return super().handle_read()
        action, count = fault
        if count > self.tot_bytes_received:
            # Read no further than the cut, so the file gets exactly N bytes.
            self.ac_in_buffer_size = min(DTPHandler.ac_in_buffer_size,
                                         count - self.tot_bytes_received)
            super().handle_read()
        if count <= self.tot_bytes_received and not self._closed:
            if action == 'truncate-ok':
                self.transfer_finished = True
                self._resp = ('226 Transfer complete.', logging.debug)
            self.close()

    handle_read_event = handle_read  # DTPHandler binds its own to this name

    def close(self):
        fault = self.cmd_channel._transfer_fault
        drop = (not self._closed and fault is not None
                and fault[0] in DROPPING_CUTS)
        if drop:
            self._resp = ()
        super().close()
        if drop:
            self.cmd_channel.close()


class RuvexHandler(FTPHandler):
    banner = 'Ruvex test FTP server ready.'
    auth_failed_timeout = 0
    # Names travel as bytes: whatever the client sends is what lands on disk.
    unicode_errors = 'surrogateescape'
    use_sendfile = False
    abstracted_fs = OrderedFS
    dtp_handler = FaultyDTP
    active_dtp = PendingPort
    log_file = None
    faults_path = None
    stall_limit = MAX_STALL
    warned_rules = set()
    connections = 0

    def __init__(self, conn, server, ioloop=None):
        RuvexHandler.connections += 1
        self.conn_id = RuvexHandler.connections
        self._connect_logged = False
        self._raw, self._raw_len = [], 0
        self._queued = []
        self._delayed = False
        self._stalled = False
        self._transfer_fault = None
        super().__init__(conn, server, ioloop)

    def note(self, text):
        self.log_file.write('%d %s\n' % (self.conn_id, text))
        self.log_file.flush()

    def on_connect(self):
        self._connect_logged = True
        self.note('CONNECT')

    def close(self):
        if self._connect_logged and not self._closed:
            self.note('DISCONNECT')
        super().close()

    # --- the control connection, byte for byte

    def push(self, s):
        self.send_control(s.encode('utf8', self.unicode_errors))

    def send_control(self, data):
        for line in data.split(b'\r\n'):
            if line:
                self.note('-> ' + visible(line))
        super(FTPHandler, self).push(data)

    def send_reply_text(self, text):
        self.send_control(text.replace('\\n', '\r\n').encode('latin-1')
                          + b'\r\n')

    def collect_incoming_data(self, data):
        # Replaces pyftpdlib's buffer, which answers 500 at 2048 bytes and
        # then runs the rest of the line as a command of its own.
        room = MAX_LINE - self._raw_len
        if room > 0:
            self._raw.append(data[:room])
        self._raw_len += len(data)

    def found_terminator(self):
        line, length = b''.join(self._raw), self._raw_len
        self._raw, self._raw_len = [], 0
        if self._closed:
            return
        self.note(visible(line) + (' [... %d bytes]' % length
                                   if length > MAX_LINE else ''))
        if self._stalled:
            return
        self._queued.append(line if length <= MAX_LINE else None)
        self.run_queued()

    def run_queued(self):
        while self._queued and not (self._delayed or self._stalled
                                    or self._closed):
            self.run_line(self._queued.pop(0), True)

    def end_delay(self, line):
        self._delayed = False
        self.run_line(line, False)
        self.run_queued()

    # --- one command, with its fault if any

    def run_line(self, line, with_faults):
        if self._idler is not None and not self._idler.cancelled:
            self._idler.reset()
        if line is None:
            return self.respond('500 Command too long.')
        text = line.decode('utf8', self.unicode_errors)
        cmd = text.split(' ')[0].upper()
        fault = self.find_fault(cmd) if with_faults else None
        action, arg = fault if fault else (None, None)
        if cmd in DATA_COMMANDS:
            self._transfer_fault = fault if action in TRANSFER_CUTS else None
        if action in ('reply', 'reply-once'):
            self.send_reply_text(arg)
        elif action == 'drop':
            self.close()
        elif action == 'stall':
            self.stall(arg)
        elif action == 'delay':
            self._delayed = True
            self.call_later(arg, self.end_delay, line)
        elif action == 'raw':
            self.send_file_as_data(cmd, arg)
        else:
            try:
                self.pre_process_command(text, cmd, text[len(cmd) + 1:])
            except UnicodeEncodeError:
                self.respond("501 Can't encode path.")
        self.connect_pending_port()

    def find_fault(self, cmd):
        if not self.faults_path:
            return None
        lines, rules = read_rules(self.faults_path, self.warned_rules)
        for index, rule_cmd, action, arg in rules:
            if rule_cmd == cmd:
                if action == 'reply-once':
                    remove_line(self.faults_path, lines, index)
                return action, arg
        return None

    def stall(self, text):
        self._stalled = True
        if text:
            self.send_reply_text(text)
        if isinstance(self._dtp_connector, PendingPort):
            self._dtp_connector = None
        acceptor = self._dtp_acceptor
        if acceptor is not None:
            # Passive mode: the port stays open but nobody accepts, and the
            # acceptor's 30 s timeout (which would reply 421) is cancelled.
            acceptor.del_channel()
            for task in acceptor._tasks:
                task.cancel()
        self.call_later(self.stall_limit, self.close)

    def send_file_as_data(self, cmd, path):
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as err:
            return self.respond('451 Fault rule cannot read %s: %s.'
                                % (path, err.strerror))
        self.push_dtp_data(data, cmd=cmd)

    def connect_pending_port(self):
        port = self._dtp_connector
        if (not self._closed and isinstance(port, PendingPort)
                and (self._out_dtp_queue or self._in_dtp_queue)):
            self._dtp_connector = LateActiveDTP(*port.address, self)

    def push_dtp_data(self, data, isproducer=False, file=None, cmd=None):
        if self._transfer_fault is not None:
            action, count = self._transfer_fault
            if not isproducer:
                data = OnceProducer(data)
            data = CutProducer(data, count, action == 'drop-after')
            isproducer = True
        super().push_dtp_data(data, isproducer, file, cmd)

    def ftp_NLST(self, path):
        # pyftpdlib's version sorts, which would undo the order file.
        try:
            if self.fs.isdir(path):
                listing = self.run_as_current_user(self.fs.listdir, path)
            else:
                self.fs.lstat(path)
                listing = [os.path.basename(path)]
        except (OSError, FilesystemError) as err:
            return self.respond('550 %s.' % _strerror(err))
        data = ''.join(name + '\r\n' for name in listing)
        self.push_dtp_data(data.encode('utf8', self.unicode_errors),
                           cmd='NLST')
        return path


def parse_args(argv):
    parser = argparse.ArgumentParser(description='FTP server for tests.')
    parser.add_argument('--root', required=True)
    parser.add_argument('--log', required=True)
    parser.add_argument('--host', default='127.0.0.1')
    parser.add_argument('--port', type=int, default=21)
    parser.add_argument('--faults')
    parser.add_argument('--ready')
    parser.add_argument('--stall-limit', type=float, default=MAX_STALL)
    args = parser.parse_args(argv)
    if not ipaddress.ip_address(args.host).is_loopback:
        parser.error('--host must be a loopback address')
    args.stall_limit = min(max(args.stall_limit, 0.0), MAX_STALL)
    return args


def write_ready_file(path, port):
    temp = path + '.tmp'
    with open(temp, 'w') as f:
        f.write('%d\n' % port)
    os.replace(temp, path)


def main(argv=None):
    args = parse_args(argv)
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    root = os.path.abspath(args.root)
    authorizer = DummyAuthorizer()
    authorizer.add_user('ruvex', 'secret', root, perm=ALL_PERMISSIONS)
    with warnings.catch_warnings():
        warnings.simplefilter('ignore')  # the warning about anonymous writes
        authorizer.add_anonymous(root, perm=ALL_PERMISSIONS)
    RuvexHandler.authorizer = authorizer
    RuvexHandler.log_file = open(args.log, 'a', encoding='utf-8')
    RuvexHandler.faults_path = args.faults and os.path.abspath(args.faults)
    RuvexHandler.stall_limit = args.stall_limit
    server = FTPServer((args.host, args.port), RuvexHandler)
    signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(0))
    # Set even if inherited as ignored, as for a background job of a script.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    if args.ready:
        write_ready_file(args.ready, server.address[1])
    server.serve_forever()  # ends on SystemExit/KeyboardInterrupt, closing all
    return 0


if __name__ == '__main__':
    sys.exit(main())
