// The calculator session as WebSession.cpp hands it to the page through embind, and the globals that
// vorn.js defines before the page's script runs.

// An enum's value as embind hands it over: the page reads it by its name (enums.js).
export interface EnumValue {
    value: number;
}
// An enum: its values by name.
export type Enum = Record<string, EnumValue>;

export interface Message {
    text: string;
    icon: EnumValue; // MessageIcon
}

// The figures by the ids of the labels that show them, and the event-length box.
export interface Display {
    lblLevel: string;
    lblBody: string;
    lblBuild: string;
    lblLooseXP: string;
    lblTotalXP: string;
    lblXPBPRatio: string;
    lblNextEventBuild: string;
    lblNextEventXP: string;
    eventLength: string;
    eventLengthEnabled: boolean;
}

export interface Outcome {
    messages: Message[];
    display: Display | null;
    focus: EnumValue; // Box: named by the box's id; "none" leaves the focus where it is
    selectAll: boolean;
    accepted: boolean;
    // The character after the action.
    canUndo: boolean;
    canRedo: boolean;
    modified: boolean;
    needsSaveQuestion: boolean;
    fileName: string; // "" until it has a file
}

export interface Boxes {
    silver: string;
    startingBuild: string;
    startingLooseXP: string;
    eventLength: string;
}

export interface Choices {
    classCode: number;
    eventLengthEntry: number;
    manualLength: string;
    maxOut: boolean;
}

export interface Reading {
    problem: string;
    choices: Choices | null;
}

// What the browser's storage lacks of the character: the file is `head`, the blocks of steps joined by
// ",\n", then `tail`; blocks from `firstBlock` are written, those from `blockCount` on dropped.
export interface KeptChange {
    head: string;
    tail: string;
    firstBlock: number;
    blocks: string[];
    blockCount: number;
    unchanged: boolean;
}

export interface HistoryRow {
    what: string;
    build: string;
    looseXP: string;
    totalXP: string;
    current: boolean;
    undone: boolean;
    // The step's notes; the date as ISO 8601, "" for none. Only a step in effect takes edits.
    event: string;
    date: string;
    note: string;
    // The name and note as shown: each bidirectional control written out ("[U+202E]"), so that none
    // turns round the text after it. The editor takes the text itself.
    eventShown: string;
    noteShown: string;
    notesEditable: boolean;
}

// A date as the page read it from what the user typed, in the user's order: any numbers.
export interface CalendarDay {
    year: number;
    month: number;
    day: number;
}

// What the printed character sheet holds; dates as ISO 8601, "" for none.
export interface SheetRow {
    step: string;
    date: string;
    event: string;
    note: string;
    what: string;
    build: string;
    looseXP: string;
    totalXP: string;
    current: boolean;
}

export interface CharacterSheet {
    title: string;
    fileName: string;
    className: string;
    printedOn: string;
    results: { caption: string; value: string }[];
    rows: SheetRow[];
}

export interface ChartAxis {
    title: string;
    least: number;
    most: number;
    ticks: { value: number; label: string }[];
}

export interface ChartSeries {
    name: string;
    quantity: EnumValue; // ChartQuantity
    planned: boolean;
    points: [number, number][];
}

export interface ChartMark {
    quantity: EnumValue; // ChartQuantity
    value: number;
    label: string;
}

export interface Chart {
    caption: string;
    x: ChartAxis;
    build: ChartAxis;
    totalXP: ChartAxis;
    series: ChartSeries[];
    goal: ChartMark | null;
}

// Where a chart's parts stand in its area (session/ChartLayout.h): boxes and segments in the area's units.
export interface ChartBox {
    x: number;
    y: number;
    width: number;
    height: number;
}

export interface ChartSegment {
    from: [number, number];
    to: [number, number];
}

// A text centred from top to bottom in its box, and aligned across it.
export interface ChartText {
    text: string;
    box: ChartBox;
    align: EnumValue; // ChartAlign
}

// An axis's range onto a span of the area: from `from` for its least value to `to` for its most.
export interface ChartScale {
    from: number;
    to: number;
    least: number;
    span: number;
}

export interface ChartArea {
    width: number;
    height: number; // the whole chart's, or where it grows with its legend, from the plot's top down
    growsWithLegend: boolean;
}

export interface ChartLayout {
    width: number;
    height: number;
    fits: boolean; // whether there is room for a plot; without it nothing is drawn
    plot: ChartBox;
    x: ChartScale;
    build: ChartScale;
    totalXP: ChartScale;
    labels: ChartText[]; // the axis titles and tick labels
    grid: ChartSegment[];
    goal: { quantity: EnumValue; line: ChartSegment; label: ChartText } | null;
    legend: { stroke: ChartSegment; name: ChartText }[]; // one for each series, in their order
}

export interface PlanRequest {
    goal: EnumValue; // PlanGoal
    goalValue: string;
    eventLengthEntry: number;
    manualLength: string;
    coin: EnumValue; // PlanCoin
    silver: string;
    blanketsBetween: string;
}

export interface PlanAnswer {
    verdict: EnumValue; // PlanVerdict
    messages: Message[];
    focus: EnumValue; // PlanBox
    selectAll: boolean;
    text: string;
    canApply: boolean;
    columns: string[];
    cells: string; // a tab between cells, a line feed after each row
    chart: Chart;
}

export interface Session {
    refresh(boxes: Boxes): Outcome;
    selectClass(code: number, boxes: Boxes): Outcome;
    selectEventLength(entry: number, boxes: Boxes): Outcome;
    showMaxOut(checked: boolean, boxes: Boxes): Outcome;
    setStartingValues(boxes: Boxes): Outcome;
    reset(boxes: Boxes): Outcome;
    addEvent(boxes: Boxes): Outcome;
    addEventWithTraining(boxes: Boxes): Outcome;
    addMaxOut(boxes: Boxes): Outcome;
    lengthHelp(): Outcome;
    leaveEventLength(boxes: Boxes): Outcome;
    blanketPrompt(): string;
    addBlankets(answer: string, boxes: Boxes): Outcome;
    reverseCalculateBlankets(): Outcome;
    newCharacter(boxes: Boxes): Outcome;
    undo(boxes: Boxes): Outcome;
    redo(boxes: Boxes): Outcome;
    resultsText(boxes: Boxes): string;
    historyRowCount(): number;
    historyPosition(): number; // the row of the character as it stands
    historyRows(from: number, to: number): HistoryRow[];
    historyChart(): Chart;
    // A step's notes by its History row (1 is the first step).
    editEvent(row: number, text: string): Outcome;
    editNote(row: number, text: string): Outcome;
    // `example`: SessionClass.exampleDay() as the page shows dates, for the message when `day` is none.
    editDate(row: number, typed: string, day: CalendarDay, example: string): Outcome;
    /** The file's bytes as they are; `firstPart` is what the user's dates start with. */
    importEvents(bytes: Uint8Array, boxes: Boxes, firstPart: "day" | "month" | "year"): Outcome;
    historyCsv(): string;
    sheet(boxes: Boxes): CharacterSheet;
    planStart(): PlanRequest;
    plan(request: PlanRequest): PlanAnswer;
    applyPlan(request: PlanRequest, boxes: Boxes): Outcome;
    save(boxes: Boxes): string;
    markSaved(fileName: string): Outcome;
    open(bytes: Uint8Array, fileName: string): Reading;
    openKept(bytes: Uint8Array, fileName: string, modified: boolean): Reading;
    keeping(boxes: Boxes, all: boolean): KeptChange;
    keptWritten(): void;
    holdsKept(boxes: Boxes): boolean;
    keptLost(): void;
    keptAsItIs(boxes: Boxes): void;
}

export interface Menu {
    name: string;
    caption: string; // '&' marks the access key
}

export interface Command {
    name: string;
    menu: string; // "" for a command on the menu bar itself
    caption: string;
    keys: string[]; // the desktop's
    pageKeys: string[];
    pageNote: string;
    onPage: boolean;
    startsGroup: boolean;
}

export interface Control {
    name: string;
    kind: EnumValue; // ControlKind
    text: string;
    toolTip: string;
    tabIndex: number;
    disabled: boolean;
    checked: boolean;
}

export interface ListEntry {
    list: string;
    text: string;
    itemData: number;
}

export interface SpokenName {
    control: string;
    name: string;
    captionLabel: string;
}

export interface SessionClass {
    new (): Session;
    historyCaptions(): string[];
    // The day a date's message gives as its example (ISO 8601).
    exampleDay(): string;
    tooLarge(fileName: string): string;
    mostFileBytes(): number;
    menus(): Menu[];
    commands(): Command[];
    controls(): Control[];
    listEntries(): ListEntry[];
    spokenNames(): SpokenName[];
    // The words both front ends show around the calculator (session/AppText.h).
    windowTitle(fileName: string, modifiedMark: string): string;
    newFileName(): string;
    fileExtension(): string;
    filesKind(): string;
    saveQuestion(fileName: string): string;
    notSaved(fileName: string, why: string): string;
    notRead(fileName: string, why: string): string;
}

export interface FocusLeaveRule {
    holds(boxEnabled: boolean, focusInBox: boolean, focusOnList: boolean): boolean;
    needsCheck(target: EnumValue): boolean;
    checked(accepted: boolean): void;
    boxFocused(): void;
}

export interface VornModuleApi {
    setNumberFormat(decimalSeparator: string, groupSeparator: string): void;
    // The character sheet's column captions, and which of them hold figures.
    sheetColumns(): string[];
    sheetColumnIsFigure(): boolean[];
    Session: SessionClass;
    Box: Enum;
    PlanBox: Enum;
    MessageIcon: Enum;
    PlanGoal: Enum;
    PlanCoin: Enum;
    PlanVerdict: Enum;
    ChartQuantity: Enum;
    ChartAlign: Enum;
    ControlKind: Enum;
    FocusTarget: Enum;
    FocusLeaveRule: { new (): FocusLeaveRule };
    // The chart laid out in `area`, its text `line` high, `gap` apart and `textWidth(text)` wide. Only the
    // series' names are looked at, not their points.
    layOutChart(chart: Chart, area: ChartArea, line: number, gap: number, textWidth: (text: string) => number): ChartLayout;
}

declare global {
    // Started by vorn.js as soon as it has run; the page awaits it.
    const VornModule: Promise<VornModuleApi>;
    interface Window {
        vornReady: Promise<void>;
    }
}
