"""A speech-dispatcher of the test's own that speaks nothing aloud: its one output module writes each
utterance it is given as a line of a file, in UTF-8, and its audio goes to a null device."""

import os
import subprocess
import time

SERVER_CONFIG = """\
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "file" "sd_generic" "file.conf"
DefaultModule file
DefaultLanguage "c"
LogLevel 3
LogDir "{logs}"
"""

# The generic module hands the text to a shell command as $DATA, recoded to the charset named for the
# voice's language; UTF-8 for every language Orca may ask for keeps Japanese captions intact.
MODULE_CONFIG = """\
GenericExecuteSynth "printf '%s\\\\n' \\'$DATA\\' >> {spoken}"
GenericStripPunctChars ""
GenericRecodeFallback "?"
AddVoice "c" "MALE1" "c"
AddVoice "en" "MALE1" "en"
DefaultVoice "c"
GenericLanguage "c" "c" "utf-8"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "ja" "ja" "utf-8"
"""


class Speech:
    def __init__(self, workdir):
        self.config = os.path.join(workdir, "speechd")
        self.spoken = os.path.join(workdir, "spoken.txt")
        self.socket = os.path.join(workdir, "speechd.sock")
        self.process = None
        self.read_lines = 0

    def start(self):
        os.makedirs(os.path.join(self.config, "modules"), exist_ok=True)
        logs = os.path.join(self.config, "logs")
        os.makedirs(logs, exist_ok=True)
        with open(os.path.join(self.config, "speechd.conf"), "w") as f:
            f.write(SERVER_CONFIG.format(logs=logs))
        with open(os.path.join(self.config, "modules", "file.conf"), "w") as f:
            f.write(MODULE_CONFIG.format(spoken=self.spoken))
        open(self.spoken, "w").close()
        self.process = subprocess.Popen(
            ["speech-dispatcher", "-s", "-t", "0", "-C", self.config, "-c", "unix_socket", "-S", self.socket],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(self.socket):
                break
            time.sleep(0.05)
        return f"unix_socket:{self.socket}"

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()

    def lines(self):
        with open(self.spoken, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f]

    def heard_since_last(self, quiet=1.5, longest=10.0):
        """What was spoken since the last call, once nothing new has come for `quiet` seconds."""
        end = time.monotonic() + longest
        count, still_since = len(self.lines()), time.monotonic()
        while time.monotonic() < end:
            time.sleep(0.1)
            now = len(self.lines())
            if now != count:
                count, still_since = now, time.monotonic()
            elif count > self.read_lines and time.monotonic() - still_since >= quiet:
                break
            elif count == self.read_lines and time.monotonic() - still_since >= quiet * 2:
                break
        lines = self.lines()
        new = lines[self.read_lines:]
        self.read_lines = len(lines)
        return new
