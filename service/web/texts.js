// Every text of the page in both languages, and which one is shown: the
// one chosen with the switch, else the browser's.

const TEXTS = {
  en: {
    title: "ZR-470",
    switchTo: "中文",
    tokenLabel: "Staff token",
    login: "Log in",
    logout: "Log out",
    wrongToken: "wrong token",
    rooms: "Rooms",
    back: "← Rooms",
    offline: "offline",
    noScene: "no scene",
    volume: "Volume",
    volumeOff: "off",
    aboveLimit: "The installer set it above your limit of {limit}: you may only turn it down.",
    muteRoom: "Mute room",
    unmuteRoom: "Unmute room",
    installerMuted: "Kept muted by the installer: output {outputs}.",
    programs: "Programs",
    noPrograms: "No named programs.",
    recallQuestion: "Recall the program “{name}”? It replaces the room's current settings.",
    recall: "Recall",
    cancel: "Cancel",
    meters: "Output meters",
    output: "Output {n}",
    lost: "No connection to the service: trying again…",
    refused: "Not done: {why}",
  },
  zh: {
    title: "ZR-470",
    switchTo: "English",
    tokenLabel: "员工令牌",
    login: "登录",
    logout: "退出登录",
    wrongToken: "令牌错误",
    rooms: "房间",
    back: "← 房间",
    offline: "离线",
    noScene: "无场景",
    volume: "音量",
    volumeOff: "关",
    aboveLimit: "安装人员设定的音量高于您的上限 {limit}：只能调低。",
    muteRoom: "全房静音",
    unmuteRoom: "取消静音",
    installerMuted: "安装人员静音的输出：{outputs}。",
    programs: "程序",
    noPrograms: "没有已命名的程序。",
    recallQuestion: "调用程序“{name}”？它将替换房间的当前设置。",
    recall: "确定",
    cancel: "取消",
    meters: "输出电平",
    output: "输出 {n}",
    lost: "与服务的连接已断开：正在重新连接…",
    refused: "未执行：{why}",
  },
};

const STORE_KEY = "zr470.language";

export function language() {
  const chosen = localStorage.getItem(STORE_KEY);
  if (chosen === "en" || chosen === "zh") return chosen;
  return (navigator.language || "en").toLowerCase().startsWith("zh") ? "zh" : "en";
}

export function toggleLanguage() {
  localStorage.setItem(STORE_KEY, language() === "zh" ? "en" : "zh");
}

// The text of key in the page's language, with {name} filled from values.
export function t(key, values = {}) {
  const text = TEXTS[language()][key] ?? TEXTS.en[key] ?? key;
  return text.replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
}

// "−10 dB", with a true minus sign.
export function decibels(value) {
  if (typeof value !== "number") return t("volumeOff");
  return `${value < 0 ? "−" : ""}${Math.abs(value)} dB`;
}

// Fills every element that names its text with data-text.
export function applyTexts(root = document) {
  document.documentElement.lang = language() === "zh" ? "zh-CN" : "en";
  document.title = t("title");
  for (const element of root.querySelectorAll("[data-text]")) element.textContent = t(element.dataset.text);
}
