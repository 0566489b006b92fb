-- Tables of the training station's database, for the SQLite ODBC driver.
-- The program creates no tables; scripts/make-dsn runs this file.
--
-- Every table has a surrogate row id: names are not unique (a built-in
-- guideline may exist beside a copy of its name), so rows are edited and
-- deleted by id. Names that the program compares ignoring letter case are
-- NOCASE here too, so that the SQL cascades find the same rows.
-- No foreign keys: the program keeps references itself and leaves dangling
-- ones on purpose (a replaced row's dependants keep pointing at its name).

CREATE TABLE IF NOT EXISTS Algorithm (
  id                      INTEGER PRIMARY KEY AUTOINCREMENT,
  compDepthHigh           DOUBLE       NOT NULL DEFAULT 50,
  compDepthLow            DOUBLE       NOT NULL DEFAULT 40,
  compRelaxHigh           DOUBLE       NOT NULL DEFAULT 60,
  compRelaxLow            DOUBLE       NOT NULL DEFAULT 40,
  compRelaxRecc           DOUBLE       NOT NULL DEFAULT 50,
  eccRateHigh             DOUBLE       NOT NULL DEFAULT 110,
  eccRateLow              DOUBLE       NOT NULL DEFAULT 90,
  initVent                INTEGER      NOT NULL DEFAULT 2,
  Name                    VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  ventCompRatioDoubleComp DOUBLE       NOT NULL DEFAULT 5,
  ventCompRatioDoubleVent DOUBLE       NOT NULL DEFAULT 1,
  ventCompRatioSingleComp DOUBLE       NOT NULL DEFAULT 15,
  ventCompRatioSingleVent DOUBLE       NOT NULL DEFAULT 2,
  vRateHigh               DOUBLE       NOT NULL DEFAULT 9,
  vRateLow                DOUBLE       NOT NULL DEFAULT 6,
  vVolHigh                DOUBLE       NOT NULL DEFAULT 0.6,
  vVolLow                 DOUBLE       NOT NULL DEFAULT 0.4,
  builtIn                 BOOLEAN      NOT NULL DEFAULT 0,
  pauseEccMax             INTEGER      NOT NULL DEFAULT 10
);
CREATE INDEX IF NOT EXISTS Algorithm_Name ON Algorithm (Name);

CREATE TABLE IF NOT EXISTS Course (
  id              INTEGER PRIMARY KEY AUTOINCREMENT,
  Date            VARCHAR(255) NOT NULL DEFAULT '',
  DefaultScenario VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Instructor      VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Note            VARCHAR(255) NOT NULL DEFAULT '',
  Time            VARCHAR(255) NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS Course_Key ON Course (Instructor, Date, Time);

CREATE TABLE IF NOT EXISTS Events (
  id       INTEGER PRIMARY KEY AUTOINCREMENT,
  Icon     INTEGER      NOT NULL DEFAULT 0,
  Name     VARCHAR(255) NOT NULL DEFAULT '',
  "Order"  INTEGER      NOT NULL DEFAULT 0,
  Scenario VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Tooltip  VARCHAR(255) NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS Events_Scenario ON Events (Scenario);

CREATE TABLE IF NOT EXISTS Person (
  id             INTEGER PRIMARY KEY AUTOINCREMENT,
  Address        VARCHAR(255) NOT NULL DEFAULT '',
  Degree         VARCHAR(255) NOT NULL DEFAULT '',
  Instructor     BOOLEAN      NOT NULL DEFAULT 0,
  Name           VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Note           VARCHAR(255) NOT NULL DEFAULT '',
  Phone          VARCHAR(255) NOT NULL DEFAULT '',
  CPRCourses     VARCHAR(255) NOT NULL DEFAULT '0',
  Resuscitations VARCHAR(255) NOT NULL DEFAULT '0'
);
CREATE INDEX IF NOT EXISTS Person_Name ON Person (Name);

CREATE TABLE IF NOT EXISTS Scenario (
  id             INTEGER PRIMARY KEY AUTOINCREMENT,
  Algorithm      VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Duration       INTEGER      NOT NULL DEFAULT 600,
  Name           VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  RegisterEvents BOOLEAN      NOT NULL DEFAULT 1,
  TrainingMode   INTEGER      NOT NULL DEFAULT 1
);
CREATE INDEX IF NOT EXISTS Scenario_Name ON Scenario (Name);

-- One row per stored session. Two rows with one serial would share one data
-- file, so the serial is unique.
CREATE TABLE IF NOT EXISTS Session (
  id                     INTEGER PRIMARY KEY AUTOINCREMENT,
  ApprovedBy             VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  CompDepth              DOUBLE       NOT NULL DEFAULT 0,
  CompRelaxRatio         DOUBLE       NOT NULL DEFAULT 0,
  CourseDate             VARCHAR(255) NOT NULL DEFAULT '',
  CourseInstructor       VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  CourseOrder            INTEGER      NOT NULL DEFAULT 0,
  CourseTime             VARCHAR(255) NOT NULL DEFAULT '',
  Done                   BOOLEAN      NOT NULL DEFAULT 0,
  Duration               INTEGER      NOT NULL DEFAULT 600,
  ECCrate                DOUBLE       NOT NULL DEFAULT 0,
  EndTime                VARCHAR(255) NOT NULL DEFAULT '',
  InitialVentilations    INTEGER      NOT NULL DEFAULT 0,
  InterfaceFrequency     DOUBLE       NOT NULL DEFAULT 0,
  Leaning                DOUBLE       NOT NULL DEFAULT 0,
  Manikin                INTEGER      NOT NULL DEFAULT 0,
  Metronome              BOOLEAN      NOT NULL DEFAULT 0,
  Note                   VARCHAR(255) NOT NULL DEFAULT '',
  PauseECC               DOUBLE       NOT NULL DEFAULT 0,
  PersonChestCompression VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  PersonVentilation      VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Scenario               VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  Serialidentifier       VARCHAR(255) NOT NULL DEFAULT '',
  StartTime              VARCHAR(255) NOT NULL DEFAULT '',
  StomachInflation       DOUBLE       NOT NULL DEFAULT 0,
  VentCompRatioComp      DOUBLE       NOT NULL DEFAULT 0,
  VentCompRatioVent      DOUBLE       NOT NULL DEFAULT 0,
  VentilationRate        DOUBLE       NOT NULL DEFAULT 0,
  VentilationVolume      DOUBLE       NOT NULL DEFAULT 0,
  WrongHandPosition      DOUBLE       NOT NULL DEFAULT 0,
  RegisterEvents         BOOLEAN      NOT NULL DEFAULT 1,
  Algorithm              VARCHAR(255) NOT NULL DEFAULT '' COLLATE NOCASE,
  TrainingMode           INTEGER      NOT NULL DEFAULT 1,
  Approved               SMALLINT     NOT NULL DEFAULT 0 CHECK (Approved BETWEEN 0 AND 255)
);
CREATE UNIQUE INDEX IF NOT EXISTS Session_Serial ON Session (Serialidentifier);
CREATE INDEX IF NOT EXISTS Session_Course ON Session (CourseInstructor, CourseDate, CourseTime, CourseOrder);
-- The session browser's order of finished sessions, read from the index alone.
CREATE INDEX IF NOT EXISTS Session_List ON Session (Done, CourseInstructor, CourseDate, StartTime, PersonVentilation,
  PersonChestCompression);
