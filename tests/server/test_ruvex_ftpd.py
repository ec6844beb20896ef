#!/usr/bin/python3
"""Self-test of ruvex_ftpd.py: one server on a free loopback port, driven with
ftplib and raw sockets. Run: /usr/bin/python3 -m unittest test_ruvex_ftpd"""
import ftplib
import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import unittest

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'ruvex_ftpd.py')
STALL_LIMIT = 2.0
work = root = log_path = faults_path = stderr_path = server = port = None


def setUpModule():
    global work, root, log_path, faults_path, stderr_path, server, port
    work = tempfile.mkdtemp(prefix='ruvex-ftpd-test-')
    root = os.path.join(work, 'root')
    os.mkdir(root)
    log_path = os.path.join(work, 'log')
    faults_path = os.path.join(work, 'faults')
    ready = os.path.join(work, 'ready')
    stderr_path = os.path.join(work, 'stderr')
    with open(stderr_path, 'w') as stderr:
        server = subprocess.Popen(
            ['/usr/bin/python3', SERVER, '--root', root, '--log', log_path,
             '--host', '127.0.0.1', '--port', '0', '--faults', faults_path,
             '--ready', ready, '--stall-limit', str(STALL_LIMIT)],
            stdout=stderr, stderr=stderr)
    deadline = time.monotonic() + 10
    while not os.path.exists(ready):
        if time.monotonic() > deadline or server.poll() is not None:
            raise RuntimeError('server did not start')
        time.sleep(0.02)
    with open(ready) as f:
        port = int(f.read())


def tearDownModule():
    server.send_signal(signal.SIGTERM)
    try:
        code = server.wait(5)
        with open(stderr_path) as f:
            output = f.read()
    finally:
        if server.poll() is None:
            server.kill()
        shutil.rmtree(work)
    if code != 0:
        raise AssertionError('server ended with %r on SIGTERM' % code)
    if 'Traceback' in output:  # any error inside the server ends up here
        raise AssertionError('server wrote:\n' + output)


def log_entries():
    with open(log_path, encoding='utf-8') as f:
        return [line.rstrip('\n').split(' ', 1) for line in f]


def log_of(conn_id):
    return [text for cid, text in log_entries() if cid == conn_id]


def wait_for_log(conn_id, text, timeout=3.0):
    deadline = time.monotonic() + timeout
    while text not in log_of(conn_id):
        if time.monotonic() > deadline:
            raise AssertionError('%r never logged for %s: %r'
                                 % (text, conn_id, log_of(conn_id)))
        time.sleep(0.02)


def set_faults(text):
    with open(faults_path, 'w', encoding='latin-1') as f:
        f.write(text)


def connect(user='anonymous', password='guest', passive=False):
    """A logged-in ftplib session and its connection id in the log."""
    seen = len(log_entries())
    ftp = ftplib.FTP(encoding='latin-1', timeout=5)
    ftp.connect('127.0.0.1', port)
    cid = next(cid for cid, text in log_entries()[seen:] if text == 'CONNECT')
    if user is not None:
        ftp.login(user, password)
    ftp.set_pasv(passive)
    return ftp, cid


def listen_for_data(ftp):
    """Send PORT for a fresh listening socket, as an active-mode client."""
    sock = socket.create_server(('127.0.0.1', 0))
    sock.settimeout(0.3)
    host, data_port = sock.getsockname()
    ftp.sendcmd('PORT %s,%d,%d' % (host.replace('.', ','), data_port >> 8,
                                   data_port & 255))
    return sock


def make_dir(name, files):
    path = os.path.join(root, name)
    shutil.rmtree(path, ignore_errors=True)
    os.mkdir(path)
    for file_name, content in files.items():
        if content is None:
            os.mkdir(os.path.join(path, file_name))
        else:
            with open(os.path.join(path, file_name), 'wb') as f:
                f.write(content)
    return path


def listed_names(lines):
    return [line.split(None, 8)[8] for line in lines]


class FtpdTest(unittest.TestCase):
    def setUp(self):
        set_faults('')


class LoginAndLogTest(FtpdTest):
    def test_only_the_two_users_log_in(self):
        for user, password in [('anonymous', ''), ('anonymous', 'x@y'),
                               ('ruvex', 'secret')]:
            ftp, cid = connect(None)
            ftp.sendcmd('USER ' + user)
            self.assertTrue(ftp.sendcmd('PASS ' + password).startswith('230'))
            ftp.quit()
        for user, password in [('ruvex', 'wrong'), ('Ruvex', 'secret'),
                               ('someone', 'secret'), ('ruvex', '')]:
            ftp, cid = connect(None)
            with self.assertRaisesRegex(ftplib.error_perm, '^530'):
                ftp.login(user, password)
            ftp.close()
        wait_for_log(cid, 'DISCONNECT')
        entries = log_of(cid)
        self.assertEqual(entries[:3], ['CONNECT', '-> 220 Ruvex test FTP server ready.',
                                       'USER ruvex'])
        self.assertIn('PASS ', entries)
        self.assertTrue(entries[entries.index('PASS ') + 1].startswith('-> 530 '))

    def test_command_lines_are_logged_raw(self):
        ftp, cid = connect('ruvex', 'secret')
        long_name = 'n' * 254
        self.assertEqual(ftp.sendcmd('USER ' + long_name)[:3], '331')
        ftp.login('ruvex', 'secret')
        # The reply quotes the name, lone LF and all, so read it raw.
        ftp.sock.sendall(b'MKD a\nb\x01c\x7f\r\nNOOP\r\n')
        replies = [ftp.file.readline()]
        while not replies[-1].startswith('200 '):
            replies.append(ftp.file.readline())
        self.assertEqual(''.join(replies)[:3], '257')
        ftp.sock.sendall(b'MKD caf\xe9\r\n')
        self.assertEqual(ftp.getresp()[:3], '257')
        ftp.sock.sendall(b'X' * 5000 + b'\r\n')
        with self.assertRaisesRegex(ftplib.error_perm, '^500 Command too long'):
            ftp.getresp()
        self.assertEqual(ftp.sendcmd('NOOP')[:3], '200')  # nothing left over
        ftp.quit()
        wait_for_log(cid, 'DISCONNECT')
        entries = log_of(cid)
        self.assertIn('USER ' + long_name, entries)
        self.assertIn('MKD a\\x0ab\\x01c\\x7f', entries)
        self.assertIn('MKD caf\u00e9', entries)
        self.assertIn('X' * 4096 + ' [... 5000 bytes]', entries)
        self.assertEqual(entries[-3:], ['QUIT', '-> 221 Goodbye.', 'DISCONNECT'])
        on_disk = os.listdir(os.fsencode(root))
        self.assertIn(b'a\nb\x01c\x7f', on_disk)
        self.assertIn(b'caf\xe9', on_disk)  # the client's bytes, unchanged
        ftp, cid = connect()
        self.assertIn('caf\u00e9', ftp.nlst())
        ftp.quit()


class ListingTest(FtpdTest):
    def test_sorted_by_name_without_order_file(self):
        make_dir('plain', {'b': b'1', 'A': b'22', 'c dir': None, '.ruvex-order.x': b''})
        for passive in (False, True):
            ftp, cid = connect(passive=passive)
            ftp.cwd('plain')
            lines = []
            ftp.retrlines('LIST', lines.append)
            self.assertEqual(listed_names(lines), ['.ruvex-order.x', 'A', 'b', 'c dir'])
            self.assertTrue(lines[3].startswith('d'))
            self.assertTrue(lines[1].startswith('-'))
            ftp.quit()

    def test_order_file_decides_names_and_order(self):
        make_dir('ordered', {'a': b'', 'b': b'', 'c': b'', 'sub': None,
                             '.ruvex-order': b'c\nmissing\r\na\n\nsub\n.ruvex-order\n'})
        ftp, cid = connect()
        ftp.cwd('ordered')
        lines = []
        ftp.retrlines('LIST', lines.append)
        self.assertEqual(listed_names(lines), ['c', 'a', 'sub'])
        self.assertTrue(lines[2].startswith('d'))
        self.assertEqual(ftp.nlst(), ['c', 'a', 'sub'])
        self.assertEqual([name for name, facts in ftp.mlsd()], ['c', 'a', 'sub'])
        lines = []
        ftp.retrlines('LIST /', lines.append)
        self.assertNotIn('.ruvex-order', str(lines))
        self.assertNotIn('.ruvex-order', ftp.nlst('/ordered/sub'))
        for command in ('LIST', 'NLST'):
            with self.assertRaisesRegex(ftplib.error_perm, '^550'):
                ftp.retrlines(command + ' .ruvex-order', lines.append)
        with self.assertRaisesRegex(ftplib.error_perm, '^550'):
            ftp.sendcmd('MLST .ruvex-order')
        self.assertIn('c', ftp.sendcmd('STAT .'))
        self.assertNotIn('.ruvex-order', ftp.sendcmd('STAT .'))
        ftp.quit()


class TransferTest(FtpdTest):
    def test_binary_round_trip_in_both_modes(self):
        payload = bytes(range(256)) * 800 + b'\r\n\n\r'
        for passive in (False, True):
            ftp, cid = connect('ruvex', 'secret', passive)
            name = 'blob-%d' % passive
            ftp.storbinary('STOR ' + name, _Reader(payload))
            got = bytearray()
            ftp.retrbinary('RETR ' + name, got.extend)
            self.assertEqual(bytes(got), payload)
            ftp.quit()

    def test_active_connection_opens_only_for_an_accepted_command(self):
        ftp, cid = connect()
        sock = listen_for_data(ftp)
        with self.assertRaisesRegex(ftplib.error_perm, '^550'):
            ftp.sendcmd('RETR no-such-file')
        self.assertRaises(socket.timeout, sock.accept)
        sock.close()
        ftp.quit()


class _Reader:
    def __init__(self, data):
        self.data = data

    def read(self, size):
        chunk, self.data = self.data[:size], self.data[size:]
        return chunk


class ReplyFaultTest(FtpdTest):
    def test_reply_rules(self):
        make_dir('victim', {'keep': b'x', 'full': None})
        set_faults('# comments and blank lines are fine\n\n'
                   'DELE explode\n'
                   'DELE drop-after-bytes many\n'
                   'DELE reply 550 Permission denied.\n'
                   'DELE reply 250 Never used: the first match wins.\n'
                   'RMD reply 550-Directory not empty\\n550 Still not empty.\n'
                   'NOOP reply-once 299 Odd but fine.\n'
                   'mkd reply 421 Service not available, closing.\n')
        ftp, cid = connect()
        ftp.cwd('victim')
        with self.assertRaisesRegex(ftplib.error_perm, '^550 Permission denied.$'):
            ftp.delete('keep')
        with self.assertRaises(ftplib.error_perm) as caught:
            ftp.rmd('full')
        self.assertEqual(str(caught.exception),
                         '550-Directory not empty\n550 Still not empty.')
        self.assertEqual(ftp.sendcmd('NOOP'), '299 Odd but fine.')
        self.assertTrue(ftp.sendcmd('NOOP').startswith('200'))
        with open(faults_path) as f:
            remaining = f.read()
        self.assertNotIn('NOOP', remaining)
        self.assertIn('# comments', remaining)
        with self.assertRaisesRegex(ftplib.error_temp, '^421'):
            ftp.mkd('new')
        self.assertEqual(sorted(os.listdir(os.path.join(root, 'victim'))), ['full', 'keep'])
        set_faults('')  # read again at the next command
        ftp.delete('keep')
        ftp.quit()
        with open(stderr_path) as f:
            warnings = f.read()
        self.assertIn("ignoring fault rule 'DELE explode': unknown action", warnings)
        self.assertIn("'DELE drop-after-bytes many': bad number", warnings)
        entries = log_of(cid)
        self.assertIn('-> 550-Directory not empty', entries)
        self.assertIn('-> 550 Still not empty.', entries)

    def test_drop_closes_without_reply(self):
        set_faults('CWD drop\n')
        ftp, cid = connect()
        with self.assertRaises(EOFError):
            ftp.cwd('victim')
        ftp.close()
        wait_for_log(cid, 'DISCONNECT')
        self.assertEqual(log_of(cid)[-2:], ['CWD victim', 'DISCONNECT'])


class TransferFaultTest(FtpdTest):
    def test_listing_cut_and_raw_listing(self):
        make_dir('four', {name: b'' for name in 'wxyz'})
        set_faults('LIST drop-after 2\n')
        ftp, cid = connect()
        ftp.cwd('four')
        lines = []
        with self.assertRaises(EOFError):
            ftp.retrlines('LIST', lines.append)
        ftp.close()
        self.assertEqual(listed_names(lines), ['w', 'x'])
        wait_for_log(cid, 'DISCONNECT')
        self.assertEqual(log_of(cid)[-3:], ['LIST', '-> 150 File status okay. '
                                            'About to open data connection.', 'DISCONNECT'])

        raw = b'-rw-r--r-- 1 a b 5 Jan 01  2020 x\r\n\r\nodd name with spaces\r\n'
        with open(os.path.join(work, 'odd-listing'), 'wb') as f:
            f.write(raw)
        set_faults('LIST raw odd-listing\n')
        for passive in (False, True):
            ftp, cid = connect(passive=passive)
            got = bytearray()
            self.assertTrue(ftp.retrbinary('LIST', got.extend).startswith('226'))
            self.assertEqual(bytes(got), raw)
            ftp.quit()

    def test_download_cuts(self):
        make_dir('big', {'file': os.urandom(100000)})
        for passive in (False, True):
            set_faults('RETR drop-after-bytes 10\n')
            ftp, cid = connect(passive=passive)
            got = bytearray()
            with self.assertRaises(EOFError):
                ftp.retrbinary('RETR big/file', got.extend)
            ftp.close()
            self.assertEqual(len(got), 10)
            wait_for_log(cid, 'DISCONNECT')
            self.assertFalse(any(text.startswith('-> 226') for text in log_of(cid)))

            set_faults('RETR truncate-ok 5\n')
            ftp, cid = connect(passive=passive)
            got = bytearray()
            self.assertTrue(ftp.retrbinary('RETR big/file', got.extend).startswith('226'))
            self.assertEqual(len(got), 5)
            ftp.quit()

    def test_upload_cut(self):
        set_faults('STOR drop-after-bytes 10\n')
        ftp, cid = connect()
        with self.assertRaises((EOFError, OSError)):
            ftp.storbinary('STOR cut-upload', _Reader(b'u' * 300000))
        ftp.close()
        wait_for_log(cid, 'DISCONNECT')
        with open(os.path.join(root, 'cut-upload'), 'rb') as f:
            self.assertEqual(f.read(), b'u' * 10)


class StallAndDelayTest(FtpdTest):
    def test_stall_keeps_others_served_and_ends_with_the_client(self):
        make_dir('stalled', {'file': b'data'})
        set_faults('RETR stall\n')
        stuck, stuck_id = connect()
        data_sock = listen_for_data(stuck)
        stuck.sock.settimeout(1)
        stuck.putcmd('RETR stalled/file')
        stuck.putcmd('NOOP')
        self.assertRaises(socket.timeout, stuck.getline)  # no reply at all
        self.assertRaises(socket.timeout, data_sock.accept)  # no connection
        data_sock.close()

        other, other_id = connect()
        started = time.monotonic()
        self.assertTrue(other.sendcmd('NOOP').startswith('200'))
        self.assertLess(time.monotonic() - started, 0.5)
        other.quit()

        stuck.close()
        wait_for_log(stuck_id, 'DISCONNECT', timeout=1)
        self.assertEqual(log_of(stuck_id)[-3:], ['RETR stalled/file', 'NOOP', 'DISCONNECT'])

    def test_stall_gives_up_after_the_limit(self):
        set_faults('LIST stall 150 Here it comes.\n')
        ftp, cid = connect(passive=True)
        ftp.sendcmd('PASV')
        ftp.sock.settimeout(STALL_LIMIT + 2)
        started = time.monotonic()
        self.assertEqual(ftp.sendcmd('LIST'), '150 Here it comes.')
        self.assertEqual(ftp.sock.recv(100), b'')  # closed by the server
        self.assertGreater(time.monotonic() - started, STALL_LIMIT - 0.5)
        ftp.close()

    def test_delay_holds_only_its_own_connection(self):
        set_faults('SYST delay 1\n')
        slow, slow_id = connect()
        started = time.monotonic()
        slow.sock.sendall(b'SYST\r\nPWD\r\n')  # the PWD waits behind SYST

        quick, quick_id = connect()
        self.assertTrue(quick.sendcmd('NOOP').startswith('200'))
        self.assertLess(time.monotonic() - started, 0.7)
        quick.quit()

        self.assertTrue(slow.getresp().startswith('215'))
        self.assertGreater(time.monotonic() - started, 0.9)
        self.assertTrue(slow.getresp().startswith('257'))
        slow.quit()


if __name__ == '__main__':
    unittest.main()
