// The staff page's pictures in docs/: the room list and a room at 360 × 640
// in English and Chinese, and a room on a desktop screen.
//   node screenshots.mjs [FOLDER]    (default: the source tree's docs/)

import { join } from "node:path";
import { Venue, launchBrowser, logIn, phone, source } from "./harness.mjs";

const folder = process.argv[2] || join(source, "docs");
const venue = new Venue();
await venue.start();
const browser = await launchBrowser();
try {
  await venue.api("PATCH", "/api/rooms/Karaoke%201", { system: { volume: -14 }, outputs: { 6: { mute: true } } });
  for (const [program, name] of [[1, "Dinner"], [2, "Party"], [5, "Quiet hours"]])
    await venue.api("POST", "/api/rooms/Karaoke%201/store", { program, name });
  await venue.api("POST", "/api/rooms/Karaoke%201/recall", { program: 2 });
  await venue.waitFor(async () => (await venue.room("Karaoke 1")).scene === "Party", 5000);
  await venue.stopProcessor(1);
  await venue.waitFor(async () => (await venue.rooms())[1].online === false, 10000);

  for (const [language, suffix] of [["en", ""], ["zh-CN", "-zh"]]) {
    const { context, page } = await phone(browser, language);
    await logIn(page, venue, venue.staff, language);
    await page.screenshot({ path: join(folder, `staff-rooms${suffix}.png`) });
    await page.getByRole("link", { name: /Karaoke 1/ }).click();
    await page.locator("#programs button").first().waitFor();
    await page.screenshot({ path: join(folder, `staff-room${suffix}.png`) });
    await context.close();
  }
  const { context, page } = await phone(browser, "en", { width: 1280, height: 800 });
  await logIn(page, venue);
  await page.getByRole("link", { name: /Karaoke 1/ }).click();
  await page.locator("#programs button").first().waitFor();
  await page.screenshot({ path: join(folder, "staff-desktop.png") });
  await context.close();
} finally {
  await browser.close();
  await venue.stop();
}
