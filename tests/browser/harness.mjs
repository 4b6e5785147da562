// What the browser tests run against: zr470d with a venue of two virtual
// processors (zr470ctl emulate) and a room nobody serves, an installer and
// a staff token, its frame ports for zr470ctl as the editor's way in, and
// Debian's Chromium driven by playwright-core.

import { execFile, spawn } from "node:child_process";
import { createServer } from "node:net";
import { mkdtempSync, writeFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { promisify } from "node:util";
import { chromium } from "playwright-core";

const run = promisify(execFile);
const here = new URL(".", import.meta.url).pathname;
export const build = resolve(process.env.ZR470_BUILD || join(here, "../../build"));
export const source = resolve(here, "../..");
const zr470ctl = join(build, "tools/zr470ctl");
const zr470d = join(build, "tools/zr470d");

// Started and waited for until it prints a line matching pattern; resolves
// to the process and the match.
function startUntil(program, args, pattern) {
  const child = spawn(program, args, { stdio: ["ignore", "pipe", "pipe"] });
  let output = "";
  return new Promise((ok, fail) => {
    const timer = setTimeout(() => fail(new Error(`${program} did not start: ${output}`)), 15000);
    const read = (chunk) => {
      output += chunk;
      const match = pattern.exec(output);
      if (!match) return;
      clearTimeout(timer);
      ok({ child, match });
    };
    child.stdout.on("data", read);
    child.stderr.on("data", read);
    child.on("exit", (code) => fail(new Error(`${program} ended (${code}): ${output}`)));
  }).then((started) => {
    started.child.removeAllListeners("exit");
    return started;
  });
}

// A port nobody listens on now.
function freePort() {
  return new Promise((done) => {
    const server = createServer().listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => done(port));
    });
  });
}

function stop(child) {
  if (!child || child.exitCode !== null) return Promise.resolve();
  return new Promise((done) => {
    child.once("exit", done);
    child.kill("SIGTERM");
  });
}

export const STAFF_LIMIT_DB = -10;

export class Venue {
  async start() {
    this.folder = mkdtempSync(join(tmpdir(), "zr470-browser-"));
    this.emulators = [];
    this.ports = [];
    for (let i = 0; i < 2; ++i) await this.startProcessor(i);
    const venue = {
      venue: "Browser test hall",
      rooms: [
        { name: "Karaoke 1", device: `tcp:127.0.0.1:${this.ports[0]}`, staff_max_volume_db: STAFF_LIMIT_DB },
        { name: "Karaoke 2", device: `tcp:127.0.0.1:${this.ports[1]}` },
        { name: "Office", device: "tcp:127.0.0.1:1" },
      ],
    };
    writeFileSync(join(this.folder, "venue.json"), JSON.stringify(venue));
    this.installer = await this.addToken("installer", ["--role", "installer"]);
    this.staff = await this.addToken("desk", ["--role", "staff", "--rooms", "Karaoke 1,Karaoke 2"]);
    // The editor's way in: room i's frames on port framesBase + i.
    this.framesBase = await freePort();
    await this.startService(0);
  }

  async addToken(name, args) {
    const tokens = join(this.folder, "tokens.json");
    const { stdout } = await run(zr470d, ["--tokens", tokens, "--add-token", name, ...args]);
    return stdout.trim();
  }

  // Processor i (0, 1), on the port it had before when it is started again.
  async startProcessor(i) {
    const port = this.ports[i] ?? 0;
    const { child, match } = await startUntil(zr470ctl, ["emulate", "--listen", `127.0.0.1:${port}`], /listening on 127\.0\.0\.1:(\d+)/);
    this.emulators[i] = child;
    this.ports[i] = Number(match[1]);
  }

  stopProcessor(i) {
    return stop(this.emulators[i]);
  }

  // The service, on the port it had before when started again.
  async startService(port = this.port) {
    const args = ["--venue", join(this.folder, "venue.json"), "--tokens", join(this.folder, "tokens.json"),
      "--listen", `127.0.0.1:${port}`, "--frames-port-base", String(this.framesBase)];
    const { child, match } = await startUntil(zr470d, args, /on http:\/\/127\.0\.0\.1:(\d+)/);
    this.service = child;
    this.port = Number(match[1]);
    this.url = `http://127.0.0.1:${this.port}/`;
    await this.waitFor(async () => (await this.rooms()).filter((room) => room.online).length === 2, 20000);
  }

  stopService() {
    return stop(this.service);
  }

  async stop() {
    await this.stopService();
    for (const child of this.emulators) await stop(child);
    rmSync(this.folder, { recursive: true, force: true });
  }

  // An API call; the installer's unless a token is given.
  async api(method, path, body, token = this.installer) {
    const response = await fetch(new URL(path, this.url), {
      method,
      headers: { Authorization: `Bearer ${token}`, "Content-Type": "application/json" },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    return { status: response.status, body: await response.json() };
  }

  async rooms() {
    return (await this.api("GET", "/api/rooms")).body.rooms;
  }

  async room(name) {
    return (await this.api("GET", `/api/rooms/${encodeURIComponent(name)}`)).body;
  }

  // zr470ctl through room i's frame port, as the editor would reach it.
  async ctl(i, ...args) {
    const { stdout } = await run(zr470ctl, ["--device", `tcp:127.0.0.1:${this.framesBase + i}`, ...args]);
    return stdout.trim();
  }

  async waitFor(check, ms) {
    const deadline = Date.now() + ms;
    for (;;) {
      try {
        if (await check()) return;
      } catch {
        // not yet: the service may be starting
      }
      if (Date.now() > deadline) throw new Error(`not within ${ms} ms: ${check}`);
      await new Promise((done) => setTimeout(done, 100));
    }
  }
}

// Debian's Chromium, headless, with nothing of its own reaching out.
export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.ZR470_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"],
  });
}

// A phone-sized page of the browser, in language ("en" or "zh-CN").
export async function phone(browser, language = "en", viewport = { width: 360, height: 640 }) {
  const context = await browser.newContext({ viewport, locale: language, hasTouch: viewport.width < 600 });
  return { context, page: await context.newPage() };
}

export async function logIn(page, venue, token = venue.staff, language = "en") {
  const zh = language.startsWith("zh");
  await page.goto(venue.url);
  await page.getByLabel(zh ? "员工令牌" : "Staff token").fill(token);
  await page.getByRole("button", { name: zh ? "登录" : "Log in" }).click();
  await page.getByRole("heading", { name: zh ? "房间" : "Rooms", exact: true }).waitFor();
}
