#!/usr/bin/python3
"""FTP server for Ruvex's tests: ruvex_ftpd.py ROOT LOG FAULTS READY

pyftpdlib on 127.0.0.1 port 21; users "ruvex" ("secret") and anonymous, with every right in ROOT;
READY is written once it listens. LOG gets each command, and each reply line after "-> ". The first
line of FAULTS naming a command replaces it: CMD reply TEXT (\\n separates lines) | CMD drop |
CMD raw FILE (FILE as the data) | STOR half (keeps half of what arrives, and answers 226)
"""
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    banner = 'Ruvex test FTP server ready.'
    auth_failed_timeout = 0
    unicode_errors = 'surrogateescape'  # names travel as the bytes the client sent

    def note(self, text):
        self.log_file.write(text + '\n')
        self.log_file.flush()

    def push(self, text):
        for line in text.split('\r\n')[:-1]:
            self.note('-> ' + line)
        super(FTPHandler, self).push(text.encode('utf8', self.unicode_errors))

    def fault(self, cmd):
        with open(self.faults, encoding='latin-1') as f:
            rules = [line.split(None, 2) + [''] for line in f]
        return next(((r[1], r[2].strip()) for r in rules if r[0].upper() == cmd), (None, ''))

    def pre_process_command(self, line, cmd, arg):
        self.note(line)
        action, text = self.fault(cmd)
        if action == 'reply':
            self.push(text.replace('\\n', '\r\n') + '\r\n')
        elif action == 'drop':
            self.close()
        elif action == 'raw':
            with open(os.path.join(os.path.dirname(self.faults), text), 'rb') as f:
                self.push_dtp_data(f.read(), cmd=cmd)
        else:
            super().pre_process_command(line, cmd, arg)

    def on_file_received(self, file):
        if self.fault('STOR')[0] == 'half':
            os.truncate(file, os.path.getsize(file) // 2)


if __name__ == '__main__':
    root, log, faults, ready = sys.argv[1:]
    authorizer = DummyAuthorizer()
    authorizer.add_user('ruvex', 'secret', root, perm='elradfmwMT')
    authorizer.add_anonymous(root, perm='elradfmwMT')
    Handler.authorizer = authorizer
    Handler.log_file = open(log, 'a', encoding='utf-8', errors='surrogateescape')
    Handler.faults = os.path.abspath(faults)
    server = FTPServer(('127.0.0.1', 21), Handler)
    with open(ready, 'w') as f:
        f.write('21\n')
    server.serve_forever()

