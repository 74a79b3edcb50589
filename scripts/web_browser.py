#!/usr/bin/env python3
"""Plays the web page in Debian's headless Chromium, driven over the DevTools
pipe: title menu, Return, play until the clock runs out, a name typed into
the high-score table, then a reload. Saves a screenshot of each screen,
fails on a black one or a profile lost across the reload, and prints the
page's figures (download, time to the title, frame time).

    web_browser.py PAGE_FOLDER OUT_FOLDER
"""
import functools
import http.server
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

CHROMIUM = '/usr/bin/chromium'
WAIT_S = 180   # for any one step; a loaded machine is slow, never this slow
PLAY_WAIT_S = 900   # for a game's clock to run out, counted in frames
PLAYER = 'WEB'
# Profile file -> player name, as the page's file system holds them.
PLAYERS = r'''(() => {
  const folder = '/libsdl/zorbel/PROFILES/';
  const names = {};
  for (const file of Module.FS.readdir(folder).filter(n => n.endsWith('.profile')).sort())
    names[file] = Module.FS.readFile(folder + file, {encoding: 'utf8'}).split(/\r?\n/)[1];
  return names;
})()'''

# Watches the page from inside, from the game's first frame on (start-up runs
# in one go up to it): when each file of the pack is opened (the title menu
# loads its picture, a level its tiles) and how long the game works between
# two browser frames (each flip waits for one), and how many frames it drew.
WATCH = r'''
(() => {
  if (window.zorbelWatch) return true;
  if (!window.Module || !Module.FS || !Module.calledRun) return false;
  const w = window.zorbelWatch = {started: performance.now(), opened: [], busy: [], gaps: [],
                                  frames: 0};
  const open = Module.FS.open;
  Module.FS.open = function (path) {
    w.opened.push([String(path), performance.now()]);
    return open.apply(this, arguments);
  };
  const raf = window.requestAnimationFrame.bind(window);
  let woke = 0;
  window.requestAnimationFrame = function (callback) {
    if (woke) w.busy.push(performance.now() - woke);
    return raf(function (t) {
      const now = performance.now();
      if (woke) w.gaps.push(now - woke);
      woke = now;
      w.frames++;
      callback(t);
    });
  };
  return true;
})()
'''


class Browser:
    """Chromium with --remote-debugging-pipe: JSON messages ended by NUL."""

    def __init__(self, profile):
        self.to_read, their_write = os.pipe()
        their_read, self.to_write = os.pipe()
        flags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                 '--no-first-run', '--disable-background-networking',
                 '--disable-component-update', '--disable-sync',
                 '--user-data-dir=' + profile, '--window-size=1024,768',
                 '--autoplay-policy=no-user-gesture-required',
                 # WebGL in software: the machine has no GPU to give.
                 '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                 '--remote-debugging-pipe', 'about:blank']

        def fds():
            os.dup2(their_read, 3)
            os.dup2(their_write, 4)
        self.process = subprocess.Popen([CHROMIUM] + flags, preexec_fn=fds, pass_fds=(3, 4),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(their_read)
        os.close(their_write)
        self.buffer = b''
        self.next_id = 0
        self.events = []
        self.session = None

    def send(self, method, params=None, session=True):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session and self.session:
            message['sessionId'] = self.session
        os.write(self.to_write, json.dumps(message).encode() + b'\0')
        while True:
            reply = self.receive()
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError(f'{method}: {reply["error"]}')
                return reply['result']
            self.events.append(reply)

    def receive(self):
        while b'\0' not in self.buffer:
            chunk = os.read(self.to_read, 1 << 20)
            if not chunk:
                raise RuntimeError('Chromium went away')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def console(self):
        """What the page printed, and what it threw, so far."""
        lines = []
        for event in self.events:
            if event.get('method') == 'Runtime.consoleAPICalled':
                lines.append(' '.join(str(a.get('value', a.get('description', '')))
                                      for a in event['params']['args']))
            elif event.get('method') == 'Runtime.exceptionThrown':
                details = event['params']['exceptionDetails']
                lines.append(details.get('exception', {}).get('description', details['text']))
        return lines

    def attach(self):
        targets = self.send('Target.getTargets')['targetInfos']
        page = next(t for t in targets if t['type'] == 'page')
        self.session = self.send('Target.attachToTarget',
                                 {'targetId': page['targetId'], 'flatten': True})['sessionId']
        self.send('Page.enable')
        self.send('Runtime.enable')

    def evaluate(self, expression):
        result = self.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True,
                                                'awaitPromise': True})
        if 'exceptionDetails' in result:
            raise RuntimeError(f'{expression[:60]}...: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def wait_for(self, expression, what, seconds=WAIT_S):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                value = self.evaluate(expression)
            except RuntimeError:
                value = None   # between two documents while the page loads
            if value:
                return value
            time.sleep(0.1)
        raise RuntimeError(f'gave up waiting for {what}')

    def screenshot(self, path):
        import base64
        data = base64.b64decode(self.send('Page.captureScreenshot', {'format': 'png'})['data'])
        with open(path, 'wb') as f:
            f.write(data)
        return data

    def wait_frames(self, count):
        """Waits until the game has drawn COUNT more frames, however slow they come."""
        since = self.evaluate('zorbelWatch.frames')
        self.wait_for(f'zorbelWatch.frames >= {since + count}', f'{count} frames')

    def press(self, key, code, key_code):
        for kind in ('keyDown', 'keyUp'):
            self.send('Input.dispatchKeyEvent', {'type': kind, 'key': key, 'code': code,
                                                 'windowsVirtualKeyCode': key_code,
                                                 'nativeVirtualKeyCode': key_code})
            self.wait_frames(2)   # held over a few frames, as a finger would

    def type_text(self, text):
        for letter in text:
            for kind in ('keyDown', 'keyUp'):
                self.send('Input.dispatchKeyEvent',
                          {'type': kind, 'key': letter, 'code': 'Key' + letter.upper(),
                           'windowsVirtualKeyCode': ord(letter.upper()),
                           **({'text': letter} if kind == 'keyDown' else {})})
                # The name entry reads one letter a frame: never two in one.
                self.wait_frames(2)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def png_pixels(data):
    """Rows of RGB(A) bytes of an 8-bit, non-interlaced PNG, as Chromium writes them."""
    at, chunks = 8, b''
    width = height = channels = 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            channels = {2: 3, 6: 4}[colour]
            assert depth == 8 and body[12] == 0, 'unexpected PNG layout'
        elif kind == b'IDAT':
            chunks += body
        at += 12 + length
    raw = zlib.decompress(chunks)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def lit_share(data):
    """The share of pixels, sampled on a grid, that are not black."""
    width, height, channels, rows = png_pixels(data)
    lit = total = 0
    for y in range(0, height, 8):
        row = rows[y]
        for x in range(0, width, 8):
            total += 1
            if max(row[x * channels:x * channels + 3]) > 24:
                lit += 1
    return lit / max(total, 1)


def check_picture(data, name, failures):
    share = lit_share(data)
    print(f'  {name}: {share:.0%} of the picture lit')
    if share < 0.05:
        failures.append(f'the {name} screenshot is black')


def opened_after(browser, pattern, since, seconds=WAIT_S):
    return browser.wait_for(
        f'window.zorbelWatch && (zorbelWatch.opened.find(o => /{pattern}/.test(o[0]) && '
        f'o[1] > {since}) || [0, 0])[1]', f'a file matching {pattern} to be opened', seconds)


def install_watch(browser):
    """Waits for the game's first frame; its time since the page was opened."""
    browser.wait_for(WATCH, 'the game to start')
    return browser.evaluate('zorbelWatch.started')


def stored_profiles(browser):
    """The profiles in the browser's own storage (IDBFS keeps one database per mount)."""
    return browser.evaluate(r'''new Promise((resolve, reject) => {
      const open = indexedDB.open('/libsdl');
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const keys = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
        keys.onsuccess = () => resolve(keys.result.filter(k => /PROFILES\/[^/]*\.profile$/.test(k))
                                                   .map(k => k.split('/').pop()).sort());
        keys.onerror = () => reject(keys.error);
      };
    })''')


def median(values):
    values = sorted(values)
    return values[len(values) // 2] if values else float('nan')


def main():
    page, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    handler = functools.partial(QuietHandler, directory=page)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f'http://127.0.0.1:{server.server_address[1]}/'
    download = sum(os.path.getsize(os.path.join(page, n)) for n in os.listdir(page))
    print(f'  page: {url}, {download / 1e6:.1f} MB to download')

    profile = tempfile.mkdtemp(prefix='zorbel-chromium-')
    browser = Browser(profile)
    failures = []
    try:
        browser.attach()
        browser.send('Emulation.setDeviceMetricsOverride',
                     {'width': 1024, 'height': 768, 'deviceScaleFactor': 1, 'mobile': False})
        browser.send('Page.navigate', {'url': url})
        first = install_watch(browser)
        title = opened_after(browser, r'GFX\/menu\.png', 0)
        time.sleep(3)   # the title's texts fade in
        check_picture(browser.screenshot(os.path.join(out, 'title.png')), 'title menu', failures)

        # Taken before the press: the level may be built while the key is held.
        since = browser.evaluate('performance.now()')
        browser.press('Enter', 'Enter', 13)
        opened_after(browser, r'DATA\/TILES\/', since)   # the level is built
        time.sleep(3)   # and its banner zooms in
        browser.evaluate('zorbelWatch.busy.length = 0, zorbelWatch.gaps.length = 0')
        time.sleep(3)
        busy = browser.evaluate('zorbelWatch.busy')
        gaps = browser.evaluate('zorbelWatch.gaps')
        check_picture(browser.screenshot(os.path.join(out, 'play.png')), 'play screen', failures)

        # Nobody steers: the clock runs out and the game asks for a name.
        opened_after(browser, r'MUSIC\/score\.ogg', since, PLAY_WAIT_S)
        browser.wait_frames(2)   # the name entry takes text from its first frame on
        browser.type_text(PLAYER)
        check_picture(browser.screenshot(os.path.join(out, 'name.png')), 'name entry', failures)
        browser.press('Enter', 'Enter', 13)
        browser.wait_for(f'Object.values({PLAYERS}).includes("{PLAYER}")', 'the result saved')
        time.sleep(2)
        check_picture(browser.screenshot(os.path.join(out, 'table.png')), 'high-score table',
                      failures)

        kept = browser.evaluate(PLAYERS)
        deadline = time.monotonic() + WAIT_S
        while stored_profiles(browser) != sorted(kept) and time.monotonic() < deadline:
            time.sleep(0.2)
        browser.send('Page.reload')
        browser.wait_for('!window.zorbelWatch', 'the page to reload')
        install_watch(browser)   # the profiles were read before the first frame
        after = browser.evaluate(PLAYERS)
        print(f'  profiles before the reload: {kept}\n  profiles after it: {after}')
        if after != kept:
            failures.append('the profiles changed across the reload')
        check_picture(browser.screenshot(os.path.join(out, 'reloaded.png')), 'reloaded page',
                      failures)

        print(f'  time from opening the page to its first frame: {first / 1000:.1f} s')
        print(f'  time from opening the page to the title menu: {title / 1000:.1f} s '
              '(the credits hold 12 s of it)')
        if busy and gaps:
            print(f'  play frame: {median(busy):.1f} ms of game work (median; 95% under '
                  f'{sorted(busy)[int(len(busy) * 0.95)]:.1f} ms), one every '
                  f'{median(gaps):.0f} ms ({1000 / median(gaps):.0f} frames a second)')
    except Exception:
        print('  the page said:\n    ' + '\n    '.join(browser.console()[-40:]))
        try:
            opened = browser.evaluate('zorbelWatch.opened.slice(-12)')
            print('  last files opened:\n    ' +
                  '\n    '.join(f'{t / 1000:6.1f} s {p}' for p, t in opened))
        except RuntimeError:
            pass
        raise
    finally:
        browser.close()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)
    for failure in failures:
        print('FAIL: ' + failure)
    return 1 if failures else 0


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}

    def log_message(self, *args):
        pass


if __name__ == '__main__':
    sys.exit(main())
