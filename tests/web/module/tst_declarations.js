// @ts-check
// The built module against what src/web/page/vorn.d.ts promises the page. vorn.js and vorn.wasm from the
// built site (VORN_SITE) are loaded under node as a browser loads them from a server; then every function,
// class and enum the declarations name is looked for, and every value they describe is checked, field by
// field, against an answer of the real session. A declaration the module does not keep, or a field of an
// answer that the declarations lack, fails here rather than in a browser.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { test } from "node:test";
import vm from "node:vm";

// The TypeScript compiler that src/web/package.json pins reads the declarations.
/** @type {typeof import("typescript")} */
const ts = createRequire(new URL("../../../src/web/package.json", import.meta.url))("typescript");

const site = new URL((process.env.VORN_SITE ?? "../../../build-web/site").replace(/\/?$/, "/"),
                     process.env.VORN_SITE ? "file:///" : import.meta.url);
const declarations = new URL("../../../src/web/page/vorn.d.ts", import.meta.url);

/** @type {Promise<any> | null} */
let loaded = null;

/** @returns {Promise<any>} the module as the page's VornModule gives it, loaded once */
function loadModule() {
    if (loaded)
        return loaded;
    const wasm = readFileSync(new URL("vorn.wasm", site));
    Object.assign(globalThis, {
        document: { currentScript: { src: "http://localhost/vorn.js" } },
        location: { protocol: "http:", href: "http://localhost/" },
        fetch: async () => new Response(wasm, { headers: { "Content-Type": "application/wasm" } }),
    });
    vm.runInThisContext(readFileSync(new URL("vorn.js", site), "utf8"), { filename: "vorn.js" });
    loaded = vm.runInThisContext("VornModule");
    return /** @type {Promise<any>} */ (loaded);
}

/** The interfaces of vorn.d.ts by name, each member's name, whether it may be left out, and its type. */
function readDeclarations() {
    const source = ts.createSourceFile("vorn.d.ts", readFileSync(declarations, "utf8"), ts.ScriptTarget.Latest, true);
    /** @type {Map<string, import("typescript").InterfaceDeclaration | import("typescript").TypeLiteralNode>} */
    const interfaces = new Map();
    /** @type {Map<string, import("typescript").TypeNode>} */
    const aliases = new Map();
    for (const statement of source.statements) {
        if (ts.isInterfaceDeclaration(statement))
            interfaces.set(statement.name.text, statement);
        if (ts.isTypeAliasDeclaration(statement))
            aliases.set(statement.name.text, statement.type);
    }
    return { interfaces, aliases };
}

const { interfaces, aliases } = readDeclarations();

/** @param {import("typescript").InterfaceDeclaration | import("typescript").TypeLiteralNode} node */
function membersOf(node) {
    return node.members.filter((m) => (ts.isPropertySignature(m) || ts.isMethodSignature(m)) && m.name)
        .map((m) => ({ name: /** @type {import("typescript").Identifier} */ (m.name).text, method: ts.isMethodSignature(m),
                       type: /** @type {import("typescript").PropertySignature} */ (m).type }));
}

/**
 * Where `value` differs from the declared `type`, a line for each difference under `path`.
 * @param {unknown} value @param {import("typescript").TypeNode | undefined} type @param {string} path @returns {string[]}
 */
function differences(value, type, path) {
    if (!type)
        return [];
    const is = (/** @type {boolean} */ ok, /** @type {string} */ what) => (ok ? [] : [`${path}: ${JSON.stringify(value)} is not ${what}`]);
    switch (type.kind) {
    case ts.SyntaxKind.StringKeyword:
        return is(typeof value === "string", "a string");
    case ts.SyntaxKind.NumberKeyword:
        return is(typeof value === "number", "a number");
    case ts.SyntaxKind.BooleanKeyword:
        return is(typeof value === "boolean", "a boolean");
    case ts.SyntaxKind.LiteralType:
        return is(value === null, "null");
    }
    if (ts.isUnionTypeNode(type)) {
        const each = type.types.map((t) => differences(value, t, path));
        return each.some((d) => d.length === 0) ? [] : each.flat();
    }
    if (ts.isArrayTypeNode(type))
        return Array.isArray(value) ? value.flatMap((item, i) => differences(item, type.elementType, `${path}[${i}]`))
                                    : is(false, "an array");
    if (ts.isTupleTypeNode(type))
        return Array.isArray(value) && value.length === type.elements.length
            ? value.flatMap((item, i) => differences(item, /** @type {import("typescript").TypeNode} */ (type.elements[i]), `${path}[${i}]`))
            : is(false, `a list of ${type.elements.length}`);
    if (ts.isTypeLiteralNode(type))
        return fields(value, type, path);
    if (ts.isTypeReferenceNode(type)) {
        const name = type.typeName.getText(type.getSourceFile());
        if (interfaces.has(name))
            return fields(value, /** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get(name)), path);
        if (aliases.has(name))
            return is(typeof value === "object" && value !== null, "an object"); // an Enum: checked as the module's
    }
    return [];
}

/**
 * Whether `value` has the declared fields, each of its type, and no others.
 * @param {unknown} value @param {import("typescript").InterfaceDeclaration | import("typescript").TypeLiteralNode} node @param {string} path
 */
function fields(value, node, path) {
    if (typeof value !== "object" || value === null)
        return [`${path}: ${JSON.stringify(value)} is not an object`];
    const members = membersOf(node);
    const declared = members.map((m) => m.name);
    // An enum's value has its number from its class, not as a field of its own.
    const missing = declared.filter((name) => !(name in value));
    const extra = Object.keys(value).filter((name) => !declared.includes(name));
    const out = [...missing.map((name) => `${path}: no ${name}`), ...extra.map((name) => `${path}.${name}: not declared`)];
    for (const m of members)
        out.push(...differences(/** @type {any} */ (value)[m.name], m.type, `${path}.${m.name}`));
    return out;
}

/** @param {string} name the interface @param {unknown} value @param {string} path */
function check(name, value, path) {
    assert.deepEqual(fields(value, /** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get(name)), path), [], path);
}

test("the module has every function, class and enum the declarations promise", async () => {
    const Module = await loadModule();
    const api = /** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get("VornModuleApi"));
    for (const { name, method, type } of membersOf(api)) {
        const enumType = type && ts.isTypeReferenceNode(type) && type.typeName.getText(api.getSourceFile()) === "Enum";
        if (enumType) {
            const values = Object.entries(Module[name]).filter(([key]) => key !== "values");
            assert.ok(values.length > 0, name);
            for (const [key, value] of values)
                assert.equal(typeof /** @type {any} */ (value).value, "number", `${name}.${key}`);
        } else {
            assert.equal(typeof Module[name], "function", `${name}${method ? "()" : ""}`);
        }
    }
    for (const { name } of membersOf(/** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get("SessionClass"))))
        assert.equal(typeof Module.Session[name], "function", `Session.${name}()`);
    const session = new Module.Session();
    for (const { name } of membersOf(/** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get("Session"))))
        assert.equal(typeof session[name], "function", `session.${name}()`);
    const rule = new Module.FocusLeaveRule();
    for (const { name } of membersOf(/** @type {import("typescript").InterfaceDeclaration} */ (interfaces.get("FocusLeaveRule"))))
        assert.equal(typeof rule[name], "function", `rule.${name}()`);
    rule.delete();
    session.delete();
});

test("every answer of the session has the fields the declarations give it, each of its type", async () => {
    const Module = await loadModule();
    const { Session } = Module;
    const session = new Session();
    const boxes = { silver: "10", startingBuild: "30", startingLooseXP: "0", eventLength: "2" };
    session.addEvent(boxes);
    const outcome = session.refresh(boxes);
    const request = session.planStart();
    const answer = session.plan(request);
    const reading = session.open(new TextEncoder().encode(session.save(boxes)), "A.vornchar");
    const layout = Module.layOutChart(answer.chart, { width: 400, height: 200, growsWithLegend: true }, 16, 7,
                                      (/** @type {string} */ text) => text.length * 7);
    /** @type {[string, unknown, string][]} the interface, an answer of it, where it came from */
    const answers = [
        ["Outcome", outcome, "session.refresh()"],
        ["Outcome", session.lengthHelp(), "session.lengthHelp()"],
        ["Outcome", session.markSaved("A.vornchar"), "session.markSaved()"],
        ["Reading", reading, "session.open()"],
        ["Reading", session.open(new Uint8Array([1, 2]), "B.vornchar"), "session.open() of a damaged file"],
        ["HistoryRow", session.historyRows(0, 2)[1], "session.historyRows()"],
        ["Chart", session.historyChart(), "session.historyChart()"],
        ["PlanRequest", request, "session.planStart()"],
        ["PlanAnswer", answer, "session.plan()"],
        ["CharacterSheet", session.sheet(boxes), "session.sheet()"],
        ["ChartLayout", layout, "layOutChart()"],
        ["Menu", Session.menus()[0], "Session.menus()"],
        ["Command", Session.commands()[0], "Session.commands()"],
        ["Control", Session.controls()[0], "Session.controls()"],
        ["ListEntry", Session.listEntries()[0], "Session.listEntries()"],
        ["SpokenName", Session.spokenNames()[0], "Session.spokenNames()"],
    ];
    for (const [name, value, path] of answers)
        check(name, value, path);
    // The answers above hold a goal, a message and choices, so that their own fields were checked too.
    assert.ok(answer.chart.goal && layout.goal && reading.choices && session.lengthHelp().messages.length);
    session.delete();
});
