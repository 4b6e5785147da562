// The staff page in Debian's Chromium against zr470d and two virtual
// processors: log-in, the rooms, the volume and its limit, mute, recall,
// live updates, a processor pulled and the service lost.

import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { STAFF_LIMIT_DB, Venue, launchBrowser, logIn, phone } from "./harness.mjs";

const venue = new Venue();
let browser;

before(async () => {
  await Promise.all([venue.start(), launchBrowser().then((b) => (browser = b))]);
});

after(async () => {
  await browser?.close();
  await venue.stop();
});

// A logged-in phone showing room name.
async function roomPage(name, language = "en") {
  const { context, page } = await phone(browser, language);
  await logIn(page, venue);
  await page.getByRole("link", { name: new RegExp(name) }).click();
  await page.getByRole("heading", { name }).waitFor();
  await page.locator("#volume:enabled").waitFor();
  return { context, page };
}

const volumeOf = async (room) => (await venue.room(room)).system.volume;

test("a wrong token is refused and not kept", async () => {
  const { context, page } = await phone(browser);
  await page.goto(venue.url);
  await page.getByLabel("Staff token").fill("not-a-token");
  await page.getByLabel("Staff token").press("Enter");
  await page.getByRole("alert").filter({ hasText: "wrong token" }).waitFor();
  assert.equal(await page.evaluate(() => localStorage.getItem("zr470.token")), null);
  assert.equal(await page.getByRole("heading", { name: "Rooms", exact: true }).isVisible(), false);
  await context.close();
});

test("a staff token logs in, sees only its rooms, is remembered and logs out", async () => {
  const { context, page } = await phone(browser);
  await logIn(page, venue);
  assert.equal(await page.getByLabel("Staff token").isVisible(), false);
  const rows = await page.getByRole("listitem").allTextContents();
  assert.deepEqual(rows.map((row) => row.split(/(?<=\d)/)[0]), ["Karaoke 1", "Karaoke 2"]);
  const second = await context.newPage();
  await second.goto(venue.url);
  await second.getByRole("link", { name: /Karaoke 2/ }).waitFor();
  await second.getByRole("button", { name: "Log out" }).click();
  await second.getByLabel("Staff token").waitFor();
  await page.getByLabel("Staff token").waitFor(); // the other tab follows
  await context.close();
});

test("the slider sets the music volume and stops at the staff limit", async () => {
  assert.equal((await venue.api("PATCH", "/api/rooms/Karaoke%201", { system: { volume: -15 } })).status, 200);
  const { context, page } = await roomPage("Karaoke 1");
  const slider = page.getByRole("slider", { name: "Volume" });
  assert.equal(await slider.getAttribute("max"), String(STAFF_LIMIT_DB));
  await slider.press("ArrowDown");
  await slider.press("ArrowDown");
  await venue.waitFor(async () => (await volumeOf("Karaoke 1")) === -17, 2000);
  await page.getByText("−17 dB", { exact: true }).waitFor();
  await slider.press("End");
  await slider.press("ArrowUp");
  await venue.waitFor(async () => (await volumeOf("Karaoke 1")) === STAFF_LIMIT_DB, 2000);
  await page.getByText("−10 dB", { exact: true }).waitFor();
  const above = await venue.api("PATCH", "/api/rooms/Karaoke%201", { system: { volume: -9 } }, venue.staff);
  assert.equal(above.status, 403);
  assert.equal(above.body.error, "above this room's staff limit of −10 dB");
  await context.close();
});

test("a volume the installer set above the limit shows truly and only goes down", async () => {
  assert.equal((await venue.api("PATCH", "/api/rooms/Karaoke%201", { system: { volume: -4 } })).status, 200);
  const { context, page } = await roomPage("Karaoke 1");
  const slider = page.getByRole("slider", { name: "Volume" });
  await page.getByText("−4 dB", { exact: true }).waitFor();
  await page.getByText(/above your limit of −10 dB/).waitFor();
  await slider.press("ArrowUp");
  assert.equal(await volumeOf("Karaoke 1"), -4);
  await slider.press("ArrowDown");
  await venue.waitFor(async () => (await volumeOf("Karaoke 1")) === STAFF_LIMIT_DB, 2000);
  await context.close();
});

test("the slider's volume reads back through the frame port", async () => {
  const { context, page } = await roomPage("Karaoke 1");
  const slider = page.getByRole("slider", { name: "Volume" });
  await slider.press("End");
  await slider.press("ArrowDown");
  await venue.waitFor(async () => (await venue.ctl(0, "get", "0", "volume")) === String(STAFF_LIMIT_DB - 1), 3000);
  await context.close();
});

test("a change through the API shows within a second", async () => {
  const { context, page } = await roomPage("Karaoke 2");
  await venue.api("PATCH", "/api/rooms/Karaoke%202", { system: { volume: -13 } });
  await page.getByText("−13 dB", { exact: true }).waitFor({ timeout: 1000 });
  await context.close();
});

test("a set through the frame port shows within a second", async () => {
  const { context, page } = await roomPage("Karaoke 2");
  await venue.ctl(1, "set", "0", "volume", "-12");
  await page.getByText("−12 dB", { exact: true }).waitFor({ timeout: 1000 });
  await context.close();
});

test("the room's mute mutes every output and leaves the installer's muted", async () => {
  assert.equal((await venue.api("PATCH", "/api/rooms/Karaoke%202", { outputs: { 4: { mute: true } } })).status, 200);
  const { context, page } = await roomPage("Karaoke 2");
  await page.getByText("Kept muted by the installer: output 4.").waitFor();
  await page.getByRole("button", { name: "Mute room" }).click();
  await page.getByRole("button", { name: "Unmute room", pressed: true }).waitFor();
  const muted = async () => Object.values((await venue.room("Karaoke 2")).outputs).map((output) => output.mute);
  assert.deepEqual(await muted(), [true, true, true, true, true, true]);
  await page.getByRole("button", { name: "Unmute room" }).click();
  await page.getByRole("button", { name: "Mute room", pressed: false }).waitFor();
  assert.deepEqual(await muted(), [false, false, false, true, false, false]);
  await venue.api("PATCH", "/api/rooms/Karaoke%202", { outputs: { 4: { mute: false } } });
  await context.close();
});

test("a recall from the page changes the processor's scene", async () => {
  assert.equal((await venue.api("POST", "/api/rooms/Karaoke%202/store", { program: 3, name: "Party" })).status, 200);
  await venue.api("PATCH", "/api/rooms/Karaoke%202", { outputs: { 1: { level: -6 } } });
  await venue.waitFor(async () => (await venue.room("Karaoke 2")).scene === "", 2000);
  const { context, page } = await roomPage("Karaoke 2");
  await page.getByRole("button", { name: "Party" }).click();
  await page.getByRole("dialog").getByRole("button", { name: "Recall" }).click();
  await venue.waitFor(async () => (await venue.room("Karaoke 2")).scene === "Party", 3000);
  await page.locator("#room-scene", { hasText: "Party" }).waitFor({ timeout: 1000 });
  await context.close();
});

test("a pulled processor shows offline within 10 s and online again within 20 s", async () => {
  const { context, page } = await phone(browser);
  await logIn(page, venue);
  const row = page.getByRole("link", { name: /Karaoke 2/ });
  await venue.stopProcessor(1);
  await row.filter({ hasText: "offline" }).waitFor({ timeout: 10000 });
  await venue.startProcessor(1);
  await row.filter({ hasNotText: "offline" }).waitFor({ timeout: 20000 });
  await context.close();
});

test("a lost service shows plainly and the page reconnects by itself", async () => {
  const { context, page } = await phone(browser);
  await logIn(page, venue);
  const banner = page.getByRole("status").filter({ hasText: "No connection to the service" });
  await venue.stopService();
  await banner.waitFor({ timeout: 5000 });
  await venue.startService();
  await banner.waitFor({ state: "hidden", timeout: 10000 });
  await page.getByRole("link", { name: /Karaoke 1/ }).waitFor();
  await context.close();
});

test("Chinese follows the browser, and the switch goes to English", async () => {
  const { context: zh, page: chinese } = await phone(browser, "zh-CN");
  await chinese.goto(venue.url);
  await chinese.getByLabel("员工令牌").fill(venue.staff);
  await chinese.getByRole("button", { name: "登录" }).click();
  await chinese.getByRole("link", { name: /Karaoke 1/ }).click();
  await chinese.getByRole("slider", { name: "音量" }).waitFor();
  await chinese.getByRole("button", { name: "English" }).click();
  await chinese.getByRole("slider", { name: "Volume" }).waitFor();
  await chinese.getByRole("button", { name: "中文" }).waitFor();
  await zh.close();
});

test("at 360 × 640 nothing scrolls sideways and every control is 44 px or more", async () => {
  const { context, page } = await roomPage("Karaoke 2");
  for (const view of ["#room=Karaoke%202", ""]) {
    await page.evaluate((hash) => (location.hash = hash), view);
    await page.waitForTimeout(100);
    const { width, small } = await page.evaluate(() => ({
      width: document.documentElement.scrollWidth,
      small: [...document.querySelectorAll("button, a, input")]
        .filter((element) => element.offsetParent !== null)
        .map((element) => [element.textContent || element.id, element.getBoundingClientRect()])
        .filter(([, box]) => box.width < 44 || box.height < 44)
        .map(([name]) => name),
    }));
    assert.ok(width <= 360, `${view}: ${width} px wide`);
    assert.deepEqual(small, [], `${view}: smaller than 44 px`);
  }
  await context.close();
});
